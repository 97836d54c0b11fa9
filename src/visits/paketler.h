#pragma once
// The package catalogue.

#include "app/formbase.h"

#include <QWidget>

namespace lumkar {

class TpaketlerF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TpaketlerF(Forms &forms, Session &session);

    // Opened from the main window: the catalogue opened if it is not.
    void openCatalogue();
};

} // namespace lumkar
