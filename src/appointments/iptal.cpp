#include "appointments/iptal.h"

#include "appointments/appointmentstate.h"
#include "appointments/dayview.h"

#include <QFormLayout>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace lumkar {

TiptalF::TiptalF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("iptalF"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowModality(Qt::ApplicationModal);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    outer->addWidget(frame);
    auto *layout = new QVBoxLayout(frame);
    auto *heading = new QLabel(QStringLiteral("Aşağıya İptal Nedenini Giriniz"), frame);
    heading->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; }"));
    layout->addWidget(heading);
    auto *form = new QFormLayout;
    JvDotNetDBEdit10 = new QLineEdit(frame);
    JvDotNetDBEdit10->setObjectName(QStringLiteral("JvDotNetDBEdit10"));
    JvDotNetDBEdit10->setMaxLength(100);
    form->addRow(QStringLiteral("İptal Nedeni"), JvDotNetDBEdit10);
    layout->addLayout(form);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    OKBtn = new QPushButton(QStringLiteral("Tamam"), frame);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    JvXPButton1 = new QPushButton(QStringLiteral("Vazgeç"), frame);
    JvXPButton1->setObjectName(QStringLiteral("JvXPButton1"));
    buttons->addWidget(OKBtn);
    buttons->addWidget(JvXPButton1);
    layout->addLayout(buttons);
    connect(OKBtn, &QPushButton::clicked, this, &TiptalF::OKBtnClick);
    connect(JvXPButton1, &QPushButton::clicked, this, &TiptalF::JvXPButton1Click);
    setFixedSize(420, 130);
}

void TiptalF::openFor(qlonglong rid, const QString &reason)
{
    m_rid = rid;
    JvDotNetDBEdit10->setText(reason);
    if (!m_asking)
        m_asking.emplace(dialogs());
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
    JvDotNetDBEdit10->setFocus();
}

void TiptalF::hideEvent(QHideEvent *event)
{
    m_asking.reset();
    QWidget::hideEvent(event);
}

void TiptalF::OKBtnClick()
{
    if (m_rid < 0)
        return;
    if (dialogs().question(programTitle(),
                           QStringLiteral("Bu randevuyu iptal etmek istediğinize eminmisiniz?"),
                           Buttons::YesNoCancel)
        != Answer::Yes)
        return;
    const StateResult result = cancelWaitingAppointment(db(), m_rid, currentUser().kullanici,
                                                        JvDotNetDBEdit10->text());
    if (result.change == StateChange::Failed) {
        // The appointment stays waiting; the reason stays typed in the box, the dialog open.
        dialogs().error(programTitle(), QStringLiteral("Randevu iptal edilemedi: ")
                                            + result.message());
        return;
    }
    hide();
    m_rid = -1;
    if (result.change != StateChange::Done)
        dialogs().warning(programTitle(), result.message());
    forms().dayLists->reopenDayLists();
}

void TiptalF::JvXPButton1Click()
{
    // A reason typed and not confirmed is dropped with the dialog.
    m_rid = -1;
    JvDotNetDBEdit10->clear();
    hide();
}

} // namespace lumkar
