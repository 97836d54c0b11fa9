#pragma once
// The backup window: manual and automatic zip backups of the data folder, restores from an
// archive, and the automatic-backup settings kept in Yedekler.dan. The work itself is done by
// BackupWriter and DatabaseRestore; the window asks, tells and keeps the settings.

#include "app/formbase.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace lumkar {

class BackupWriter;
class DatabaseRestore;

class TgirisRF : public QWidget, public FormContext {
    Q_OBJECT
public:
    TgirisRF(Forms &forms, Session &session);

    // "Manuel Yedek Al": a backup into an archive the user names.
    void TumunuYedekle();
    // The automatic backup run at program end when it is due.
    void TumunuYedekleOto();
    // "Yedekten Geri Yükle": the database replaced by the one of an archive (on a server, its
    // rows replaced, after a copy of them was kept).
    void TumFirmalarGeriYukle();
    // "Otomatik Yedek Adresini Bul": picks the automatic-backup folder and saves the settings.
    void JvXPButton5Click();
    // "Oto.Yed.Ayarlarını Sakla": the folder, the interval and the switch written to the file.
    void saveAutomaticSettings();
    // "Masaüstü Verisini Sunucuya Taşı" (on a server only): a desk's file or archive copied
    // onto the server.
    void moveDeskData();

    // Told when the user cancels a backup.
    static QString backupCanceledText();

    // Whether the automatic backup is due at `now`, as the window's controls stand.
    bool automaticBackupDue(const QDateTime &now) const;

    QPushButton *JvXPButton1; // "Manuel Yedek Al"
    QPushButton *JvXPButton7; // "Yedekten Geri Yükle"
    QPushButton *JvXPButton4; // "KAPAT"
    QCheckBox *CheckBox1; // "Otomatik Olarak Yedek Al"
    QLineEdit *Edit1; // folder of the automatic backups
    QPushButton *JvXPButton5; // "Otomatik Yedek Adresini Bul"
    QLineEdit *yedekgunEdit; // interval in days
    QDateEdit *DateTimePicker1; // "Son Yedek Alınma Tarihi"
    QPushButton *JvXPButton6; // "Oto.Yed.Ayarlarını Sakla"
    QPushButton *sunucuyaTasiBut; // "Masaüstü Verisini Sunucuya Taşı", on a server only

signals:
    // The database file was replaced by a restore and the connection opened again: every
    // window's data is to be read afresh.
    void databaseReplaced();

private:
    enum class RestoreEnd { Canceled, Refused, Replaced };
    struct RestoreRun {
        RestoreEnd end;
        bool reopened = true; // the connection opened again after the swap (or was not closed)
    };

    void readSettings();
    // What backups and restores killed in their work left (copies, archives and files half
    // written) is removed when the window is made at program start.
    void sweepLeftovers();
    // Runs a restore under a progress display that is gone when it returns; the connection
    // is closed around the swap and opened again.
    RestoreRun restoreWithProgress(DatabaseRestore &restore, const QString &archive);
    // Runs a backup with a progress display; false when it failed or was cancelled.
    bool backUp(BackupWriter &writer, const QString &archive);
    QString dataFolder() const;
    bool onServer() const;
    // Where restores start looking and where the copy before a restore onto a server goes:
    // the last manual backup's folder, else the automatic one's, else the program's "Yedek".
    QString backupFolder() const;
};

} // namespace lumkar
