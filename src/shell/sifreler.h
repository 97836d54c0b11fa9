#pragma once
// The users window: users, passwords, rights and the master password, behind the
// master-password gate of the login dialog.

#include "app/formbase.h"
#include "data/dataset.h"
#include "kit/grid.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace lumkar {

class TsifrelerF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TsifrelerF(Forms &forms, Session &session);

    // Opened by the gate: shows the window with both tables open.
    void showUsers();

    // What the login reads of the users: the two tables opened when closed (false when they
    // could not be read; the user was told), closed again, read afresh.
    bool openUserTables();
    void closeUserTables();
    // Reads the users again unless a user is being edited here.
    void forgetUsers();
    // Every user, codes and full names in the same order.
    void userList(QStringList &codes, QStringList &names);
    // The user whose code is exactly `code`, with the stored password; false when none.
    bool findUser(const QString &code, CurrentUser &user, QString &password);
    QString masterPassword();

    void JvXPButton4Click(); // "Ekle"
    void JvXPButton2Click(); // "Kaydet"
    void JvXPButton3Click(); // "Sil"
    void JvXPButton1Click(); // "Master Şifreyi Değiştir"
    void OKBtnClick();       // "Tamam"

    DataSet *sifreTable;
    DataSet *masterTable;
    GridView *JvDBUltimGrid1;
    QLineEdit *KKoduDBEdit;
    QLineEdit *KAdiDBEdit;
    QLineEdit *KSoyadiDBEdit;
    QLineEdit *KSifresiDBEdit;
    QCheckBox *ekleDBCheckBox;
    QCheckBox *degistirDBCheckBox;
    QCheckBox *herkesgorDBCheckBox;
    QCheckBox *herkesidegistirDBCheckBox;
    QCheckBox *baskasirandevuDBCheckBox;
    QLineEdit *JvDotNetDBEdit1; // master password
    QPushButton *JvXPButton4;
    QPushButton *JvXPButton2;
    QPushButton *JvXPButton3;
    QPushButton *JvXPButton1;
    QPushButton *OKBtn;

protected:
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void discardChanges();
};

} // namespace lumkar
