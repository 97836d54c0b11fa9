#include "backup/girisR.h"

#include "backup/backuparchive.h"
#include "backup/backuprules.h"
#include "backup/scratchfiles.h"
#include "backup/serverdata.h"
#include "kit/entryboxes.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace lumkar {

namespace {

const QString kBackupTitle = QStringLiteral("Lumkar Yedek");
const QString kZipFilter = QStringLiteral("Yedek (*.zip)");

// Other parts load files by names relative to the program folder: every backup operation
// leaves the working directory as it found it.
class KeepWorkingDirectory {
public:
    KeepWorkingDirectory() : m_folder(QDir::currentPath()) { }
    ~KeepWorkingDirectory() { QDir::setCurrent(m_folder); }
    KeepWorkingDirectory(const KeepWorkingDirectory &) = delete;
    KeepWorkingDirectory &operator=(const KeepWorkingDirectory &) = delete;

private:
    QString m_folder;
};

} // namespace

TgirisRF::TgirisRF(Forms &forms, Session &session) : FormContext(forms, session)
{
    sweepLeftovers();
    setObjectName(QStringLiteral("girisRF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo -  Yedekleme Ayarları"));
    auto named = [this](auto *widget, const char *name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    JvXPButton1 = named(new QPushButton(QStringLiteral("Manuel Yedek Al"), this), "JvXPButton1");
    JvXPButton7
        = named(new QPushButton(QStringLiteral("Yedekten Geri Yükle"), this), "JvXPButton7");
    JvXPButton4 = named(new QPushButton(QStringLiteral("KAPAT"), this), "JvXPButton4");
    CheckBox1 = named(new QCheckBox(QStringLiteral("Otomatik Olarak Yedek Al"), this), "CheckBox1");
    Edit1 = named(new QLineEdit(QStringLiteral("C:\\"), this), "Edit1");
    JvXPButton5 = named(
        new QPushButton(QStringLiteral("Otomatik Yedek Adresini Bul"), this), "JvXPButton5");
    yedekgunEdit = named(new QLineEdit(QStringLiteral("1"), this), "yedekgunEdit");
    yedekgunEdit->setMaxLength(3);
    yedekgunEdit->setMaximumWidth(50);
    attachDigitsRule(yedekgunEdit);
    DateTimePicker1 = named(new QDateEdit(noBackupDay(), this), "DateTimePicker1");
    DateTimePicker1->setReadOnly(true);
    DateTimePicker1->setButtonSymbols(QAbstractSpinBox::NoButtons);
    DateTimePicker1->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    JvXPButton6
        = named(new QPushButton(QStringLiteral("Oto.Yed.Ayarlarını Sakla"), this), "JvXPButton6");
    sunucuyaTasiBut = named(
        new QPushButton(QStringLiteral("Masaüstü Verisini Sunucuya Taşı"), this), "sunucuyaTasiBut");
    // Only a program that works on a server has a desk's data to bring onto it.
    sunucuyaTasiBut->setVisible(onServer());

    auto *manual = new QHBoxLayout;
    manual->addWidget(JvXPButton1);
    manual->addWidget(JvXPButton7);

    auto *automatic = new QGroupBox(this);
    auto *grid = new QGridLayout(automatic);
    grid->addWidget(CheckBox1, 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Otomatik Yedeklenecek Yer"), automatic), 1, 0, 1, 3);
    grid->addWidget(Edit1, 2, 0, 1, 2);
    grid->addWidget(JvXPButton5, 2, 2);
    auto *interval = new QHBoxLayout;
    interval->addWidget(new QLabel(QStringLiteral("Yedek"), automatic));
    interval->addWidget(yedekgunEdit);
    interval->addWidget(new QLabel(QStringLiteral("Günde Bir Alınsın"), automatic));
    interval->addStretch();
    grid->addLayout(interval, 3, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Son Yedek Alınma Tarihi"), automatic), 4, 0);
    grid->addWidget(DateTimePicker1, 4, 1);
    grid->addWidget(JvXPButton6, 5, 0, 1, 3);
    grid->setColumnMinimumWidth(1, 220);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(manual);
    layout->addWidget(sunucuyaTasiBut);
    layout->addWidget(automatic);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(JvXPButton4);
    layout->addLayout(bottom);

    connect(JvXPButton1, &QPushButton::clicked, this, &TgirisRF::TumunuYedekle);
    connect(JvXPButton7, &QPushButton::clicked, this, &TgirisRF::TumFirmalarGeriYukle);
    connect(JvXPButton4, &QPushButton::clicked, this, &QWidget::hide);
    connect(JvXPButton5, &QPushButton::clicked, this, &TgirisRF::JvXPButton5Click);
    connect(JvXPButton6, &QPushButton::clicked, this, &TgirisRF::saveAutomaticSettings);
    connect(sunucuyaTasiBut, &QPushButton::clicked, this, &TgirisRF::moveDeskData);

    readSettings();
}

void TgirisRF::sweepLeftovers()
{
    BackupSettingsFile file(session().GetPathPath());
    for (const QString &folder :
        { QDir::tempPath(), dataFolder(), file.automaticFolder(), file.lastManualFolder() })
        sweepScratch(folder);
}

bool TgirisRF::onServer() const
{
    return session().database().engine() == Engine::Postgres;
}

QString TgirisRF::backupFolder() const
{
    BackupSettingsFile file(session().GetPathPath());
    return backupStartFolder(
        session().GetPathPath(), file.lastManualFolder(), file.automaticFolder());
}

void TgirisRF::moveDeskData()
{
    const KeepWorkingDirectory keep;
    if (moveDeskDataToServer(session().database(), dialogs(), backupFolder()))
        emit databaseReplaced();
}

QString TgirisRF::dataFolder() const
{
    return session().database().dataFolder();
}

void TgirisRF::readSettings()
{
    BackupSettingsFile file(session().GetPathPath());
    const BackupSettings settings = file.read();
    if (!file.errorText().isEmpty())
        dialogs().warning(programTitle(), file.errorText());
    Edit1->setText(settings.automaticFolder);
    yedekgunEdit->setText(settings.intervalText);
    CheckBox1->setChecked(settings.automaticOn);
    DateTimePicker1->setDate(
        settings.lastAutomaticDay.isValid() ? settings.lastAutomaticDay : noBackupDay());
}

bool TgirisRF::automaticBackupDue(const QDateTime &now) const
{
    return lumkar::automaticBackupDue(
        CheckBox1->isChecked(), yedekgunEdit->text(), DateTimePicker1->date(), now);
}

void TgirisRF::TumunuYedekle()
{
    const KeepWorkingDirectory keep;
    BackupSettingsFile file(session().GetPathPath());
    const QString start = backupStartFolder(session().GetPathPath(), file.lastManualFolder());
    QString chosen = dialogs().saveFile(
        kBackupTitle, start, backupArchiveName(QDate::currentDate()), kZipFilter);
    if (chosen.isEmpty())
        return;
    if (!chosen.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
        chosen += QStringLiteral(".zip");
    const QString title = QStringLiteral("Lumkar Vikelmo Programı");
    BackupWriter writer;
    if (!backUp(writer, chosen)) {
        if (writer.canceled())
            dialogs().information(title, backupCanceledText());
        else
            dialogs().error(
                title, QStringLiteral("Yedekleme işlemi başarısız oldu: ") + writer.errorText());
        return;
    }
    const bool saved
        = file.saveLastManualFolder(folderWithSeparator(QFileInfo(chosen).absolutePath()));
    dialogs().information(title,
        QStringLiteral("Yedekleme işlemi başarılı\n\r"
                       "bir şekilde gerçekleştirildi."));
    if (!saved)
        dialogs().warning(programTitle(), file.errorText());
}

bool TgirisRF::backUp(BackupWriter &writer, const QString &archive)
{
    const std::unique_ptr<Progress> progress
        = dialogs().startProgress(QStringLiteral("Yedek alınıyor..."), kBackupProgressMaximum);
    writer.setProgress(progress.get());
    bool done = false;
    if (onServer()) {
        (void)session().database().open(); // the login dialog may not have connected yet
        done = writer.backupServer(session().db(), Database::fileName(), archive);
    } else {
        done = writer.backupDataFolder(dataFolder(), Database::fileName(), archive);
    }
    progress->finish();
    return done;
}

QString TgirisRF::backupCanceledText()
{
    return QStringLiteral("Yedekleme iptal edildi; hiçbir dosya yazılmadı.");
}

void TgirisRF::TumunuYedekleOto()
{
    const KeepWorkingDirectory keep;
    BackupSettingsFile file(session().GetPathPath());
    const QString folder = file.automaticFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        dialogs().information(programTitle(),
            QStringLiteral("Otomatik yedekleme klasörü bulunamadığından\n\r"
                           "otomatik yedekleme işlemi başarısız oldu!\n\r"
                           "Otomatik yedekleme adresini kontrol edin."));
        return;
    }
    const QDate today = QDate::currentDate();
    const QString archive = folderWithSeparator(folder) + backupArchiveName(today);
    BackupWriter writer;
    if (!backUp(writer, archive)) {
        if (writer.canceled())
            dialogs().information(programTitle(), backupCanceledText());
        else
            dialogs().error(programTitle(),
                QStringLiteral("Otomatik yedekleme işlemi başarısız oldu: ") + writer.errorText());
        return;
    }
    if (!file.saveLastAutomaticDay(today))
        dialogs().warning(programTitle(), file.errorText());
}

void TgirisRF::TumFirmalarGeriYukle()
{
    const KeepWorkingDirectory keep;
    const Answer answer = dialogs().question(programTitle(),
        QStringLiteral("Yedekten yükleme sonucu halihazırda mevcut bilgiler silinecek ve\n\r"
                       "yedek alınan bilgiler yüklenecektir. Hali hazırda bilgilere bir daha\n\r"
                       "ulaşmanız mümkün olmayacaktır! İşleme devam edecekmisiniz?"),
        Buttons::YesNo, Icon::Warning);
    if (answer != Answer::Yes)
        return;
    const QString chosen = dialogs().openFile(kBackupTitle, backupFolder(), kZipFilter);
    if (chosen.isEmpty())
        return;
    if (onServer()) {
        if (restoreOntoServer(session().database(), dialogs(), chosen, backupFolder(),
                              QDateTime::currentDateTime()))
            emit databaseReplaced();
        return;
    }

    DatabaseRestore restore(dataFolder(), Database::fileName());
    const RestoreRun run = restoreWithProgress(restore, chosen);
    // The progress display is gone: what follows is told over the window, not under it.
    if (run.end == RestoreEnd::Canceled) {
        dialogs().information(programTitle(), restoreCanceledText());
        return;
    }
    if (run.end == RestoreEnd::Refused)
        dialogs().error(programTitle(), restoreRefusedText(restore.errorText()));
    const QString done = restoreDoneText(restore.restored(), restore.leftAside());
    if (!run.reopened) {
        dialogs().error(programTitle(),
            session().database().errorText()
                + (run.end == RestoreEnd::Replaced ? QStringLiteral("\n\r") + done : QString()));
        return;
    }
    if (run.end != RestoreEnd::Replaced)
        return;
    emit databaseReplaced();
    dialogs().information(programTitle(), done);
}

TgirisRF::RestoreRun TgirisRF::restoreWithProgress(DatabaseRestore &restore, const QString &archive)
{
    const std::unique_ptr<Progress> progress = dialogs().startProgress(
        QStringLiteral("Yedekten geri yükleniyor..."), kBackupProgressMaximum);
    restore.setProgress(progress.get());
    if (!restore.prepare(archive)) {
        progress->finish();
        return { restore.canceled() ? RestoreEnd::Canceled : RestoreEnd::Refused };
    }
    // The connection lets go of the file while it is replaced.
    Database &database = session().database();
    database.close();
    const bool replaced = restore.replace(QDateTime::currentDateTime());
    const bool reopened = database.open();
    progress->finish();
    return { replaced ? RestoreEnd::Replaced : RestoreEnd::Refused, reopened };
}

void TgirisRF::JvXPButton5Click()
{
    const KeepWorkingDirectory keep;
    BackupSettingsFile file(session().GetPathPath());
    const QString start = backupStartFolder(session().GetPathPath(), file.automaticFolder());
    const QString picked = dialogs().pickFolder(QStringLiteral("Lumkar Personel Yedek"), start);
    if (!picked.isEmpty())
        Edit1->setText(folderWithSeparator(picked));
    saveAutomaticSettings();
}

void TgirisRF::saveAutomaticSettings()
{
    BackupSettingsFile file(session().GetPathPath());
    if (!file.saveAutomatic(Edit1->text(), yedekgunEdit->text(), CheckBox1->isChecked()))
        dialogs().warning(programTitle(), file.errorText());
}

} // namespace lumkar
