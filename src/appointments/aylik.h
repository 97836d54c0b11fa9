#pragma once
// The monthly and weekly planner.

#include "app/formbase.h"
#include "kit/controls.h"

#include <QDateEdit>
#include <QWidget>

namespace lumkar {

class TaylikF : public QWidget, public FormContext, public UserFilterMembers {
    Q_OBJECT
public:
    TaylikF(Forms &forms, Session &session);

    // The planner's date and its rebuild ("YENİDEN YÜKLE").
    void setPlannerDate(const QDate &day) { m_date = day; }
    QDate plannerDate() const { return m_date; }
    void yenidenYukle();
    // Prepares the booking of the person just chosen in the person list.
    void GirisHazirla();

    // The package picked in the package window for a direct booking, as texts.
    struct PickedPackage {
        QString kodu, adi, tutar, primoran;
    };
    void setPickedPackage(const PickedPackage &package) { m_picked = package; }
    const PickedPackage &pickedPackage() const { return m_picked; }


private:
    QDate m_date;
    PickedPackage m_picked;
};

} // namespace lumkar
