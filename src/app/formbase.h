#pragma once
// What every window holds: the other windows and the session.

#include "app/forms.h"
#include "app/helptopics.h"
#include "app/session.h"

namespace lumkar {

class FormContext {
public:
    FormContext(Forms &forms, Session &session) : m_forms(forms), m_session(session) {}

protected:
    Forms &forms() const { return m_forms; }
    Session &session() const { return m_session; }
    Dialogs &dialogs() const { return m_session.dialogs(); }
    QSqlDatabase &db() const { return m_session.db(); }
    const CurrentUser &currentUser() const { return m_session.currentUser; }

private:
    Forms &m_forms;
    Session &m_session;
};

} // namespace lumkar
