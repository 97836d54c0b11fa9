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


private:
    QDate m_date;
};

} // namespace lumkar
