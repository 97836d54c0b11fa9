#include "benchkit.h"

#include "data/values.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTime>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace lumkar::bench {

namespace {

// Shows nothing and is never cancelled.
class SilentProgress : public Progress {
public:
    void setValue(int) override {}
    void setLabel(const QString &) override {}
    bool wasCanceled() const override { return false; }
    void setCancelEnabled(bool) override {}
    void finish() override {}
};

} // namespace

std::unique_ptr<Progress> SilentDialogs::startProgress(const QString &, int)
{
    return std::make_unique<SilentProgress>();
}

void SilentDialogs::told(const QString &text) const
{
    std::fprintf(m_stop ? stderr : stdout, "%s: %s\n", m_stop ? "unexpected message" : "message",
                 qPrintable(text));
    if (m_stop)
        std::exit(1);
}

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

BenchApplication::Environment::Environment()
{
    qInstallMessageHandler(quiet);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

BenchApplication::BenchApplication(int &argc, char **argv) : m_application(argc, argv)
{
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
}

double median(QVector<double> samples)
{
    if (samples.isEmpty())
        return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

double timeIt(int runs, const std::function<void()> &prepare,
              const std::function<void()> &action)
{
    QVector<double> samples;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        action();
        QCoreApplication::processEvents();
        samples << timer.nsecsElapsed() / 1e6;
    }
    return median(samples);
}

namespace {

double cpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

Timing measure(int runs, const std::function<void()> &action)
{
    QVector<double> wall;
    QVector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        const double cpuStart = cpuMilliseconds();
        timer.start();
        action();
        QCoreApplication::processEvents();
        wall << timer.nsecsElapsed() / 1e6;
        cpu << cpuMilliseconds() - cpuStart;
    }
    return {median(wall), median(cpu)};
}

void addUsers(QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO sifre (kullanici, sifre, adi, soyadi, ekle, degistir, "
                             "herksesigor, herkesidegistir, baskasirandevuver) "
                             "VALUES (?, '', ?, ?, 'E', 'E', 'E', 'E', 'E')"));
    for (int u = 1; u < 10; ++u) {
        q.addBindValue(QStringLiteral("user%1").arg(u));
        q.addBindValue(QStringLiteral("Kullanıcı"));
        q.addBindValue(QString::number(u));
        q.exec();
    }
}

void addAppointments(QSqlDatabase &db, int count,
                     const std::function<QDate(QRandomGenerator &, int)> &dayOf)
{
    QRandomGenerator random(20261209);
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "INSERT INTO randevu (sicil_kodu, adi, soyadi, RKime, Rkimeadsoyad, randevutarihi, "
        "kayittarihi, konu, randevuyualan, gorusmekodu, iptalkodu, randevusaati, telefonu, "
        "ceptel, islem_tutari, adresi, paketkodu, paketadi) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < count; ++i) {
        const int user = int(random.bounded(10));
        const QString code = user == 0 ? QStringLiteral("lumkar")
                                       : QStringLiteral("user%1").arg(user);
        const QDate day = dayOf(random, i);
        const int state = int(random.bounded(10));
        q.addBindValue(QString::number(random.bounded(5000) + 1));
        q.addBindValue(QStringLiteral("Ad%1").arg(i % 700));
        q.addBindValue(QStringLiteral("Soyad%1").arg(i % 900));
        q.addBindValue(code);
        q.addBindValue(QStringLiteral("Kullanıcı %1").arg(user));
        q.addBindValue(values::dayKey(day));
        q.addBindValue(values::dayKey(day));
        q.addBindValue(QStringLiteral("Randevu açıklaması"));
        q.addBindValue(QStringLiteral("Lumkar Yönetici"));
        q.addBindValue(state < 3 ? QVariant(i + 1) : QVariant());
        q.addBindValue(state == 9 ? QVariant(999999) : QVariant());
        q.addBindValue(values::toDatabase(
            values::timeOfDay(QTime(9 + int(random.bounded(9)), 15 * int(random.bounded(4)))),
            FieldType::DateTime));
        q.addBindValue(QStringLiteral("(212) 555 12 34"));
        q.addBindValue(QStringLiteral("(532) 111 22 33"));
        q.addBindValue(double(random.bounded(5000)));
        q.addBindValue(QStringLiteral("Adres satırı\r\n"));
        q.addBindValue(int(random.bounded(20)));
        q.addBindValue(QStringLiteral("Paket"));
        q.exec();
    }
}

long peakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace lumkar::bench
