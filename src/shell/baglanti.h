#pragma once
// The database connection window ("Veritabanı Bağlantısı"), reached from the login dialog:
// edits the connection settings file, tries settings on a connection of its own, and saves
// them, after which the program starts again over the new database.

#include "app/formbase.h"
#include "data/connectionsettings.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace lumkar {

class TbaglantiF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TbaglantiF(Forms &forms, Session &session);

    // Shows the settings as the file holds them, a stored password never. `gated`: opened
    // after the master password; otherwise the database could not be opened at all.
    void showSettings(bool gated);
    // The settings as the boxes hold them, with the password they would keep.
    ConnectionSettings editedSettings() const;

    void denemeButClick(); // "Bağlantıyı Dene"
    void kaydetButClick(); // "Kaydet"

    QComboBox *motorCombo;
    QLineEdit *sunucuEdit;
    QSpinBox *portEdit;
    QLineEdit *veritabaniEdit;
    QLineEdit *kullaniciEdit;
    QLineEdit *sifreEdit;
    QCheckBox *sifreSaklaCheck;
    QLabel *notLabel;
    QPushButton *denemeBut;
    QPushButton *kaydetBut;
    QPushButton *kapatBut;

signals:
    // New settings were written: the program is to start again over them.
    void settingsSaved();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void fitToEngine();

    ConnectionSettings m_stored;
};

} // namespace lumkar
