// Feeds the entry rules and the order of texts with generated input and checks, for every
// input, what must always hold: no crash, no read past a text's end (run it in the sanitizer
// build), readings that regrouping never changes, completed dates and times that are valid and
// complete again to themselves, lower-casing that leaves no capital and no blank at the ends,
// and an order that is antisymmetric and transitive even on broken UTF-8.
//
//   fuzz_rules [--iterations N] [--seconds S] [--seed X]
//
// Runs N rounds (default 20000), or rounds until S seconds have passed; the seed makes a run
// repeatable. The first failed check is printed with its round and input, and the program
// exits with 1.

#include "data/entryrules.h"
#include "data/formats.h"
#include "data/textorder.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <random>
#include <string>

using namespace lumkar;

namespace {

class Generator {
public:
    explicit Generator(quint64 seed) : m_engine(seed) {}

    int number(int low, int high) // both inclusive
    {
        return std::uniform_int_distribution<int>(low, high)(m_engine);
    }
    bool chance(int percent) { return number(1, 100) <= percent; }

    QString text(const QString &alphabet, int longest)
    {
        QString out;
        const int length = number(0, longest);
        for (int i = 0; i < length; ++i)
            out += alphabet.at(number(0, int(alphabet.size()) - 1));
        return out;
    }

    // Bytes biased towards the places where UTF-8 breaks: continuation bytes, lead bytes
    // without their continuation, Turkish letters whole.
    QByteArray bytes(int longest)
    {
        static const char *const pieces[] = {
            "a", "b", "z", "A", "I", " ", "0", "9", "\x80", "\xbf", "\xc3", "\xc4", "\xc5",
            "\xe2", "\xf0", "\xff", "\xc3\xa7", "\xc4\xb1", "\xc4\xb0", "\xc5\x9f", "\xc3\xb6",
            "\xe2\x82\xac", "\xf0\x9f\x98\x80", "\xc4", "\xe2\x82"};
        QByteArray out;
        const int count = number(0, longest);
        for (int i = 0; i < count; ++i)
            out += pieces[number(0, int(std::size(pieces)) - 1)];
        return out;
    }

private:
    std::mt19937_64 m_engine;
};

int failedRound = -1;

QString escaped(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f && c != QLatin1Char('\\'))
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out;
}

QString escaped(const QByteArray &bytes)
{
    QString out;
    for (const char b : bytes)
        out += QStringLiteral("\\x%1").arg(uint(uchar(b)), 2, 16, QLatin1Char('0'));
    return out;
}

[[noreturn]] void fail(const char *check, const QString &input)
{
    std::fprintf(stderr, "Round %d: %s\n  input: %s\n", failedRound, check,
                 escaped(input).toUtf8().constData());
    std::exit(1);
}

void require(bool holds, const char *check, const QString &input)
{
    if (!holds)
        fail(check, input);
}

bool sameReading(const NumberReading &a, const NumberReading &b)
{
    return a.ok == b.ok && (a.value == b.value || (std::isnan(a.value) && std::isnan(b.value)));
}

// A number's reading: finite when it is one, 0 with a message when it is not; thousands marks
// and blanks after the first character change nothing.
void numbers(Generator &random)
{
    const QString text = random.text(QStringLiteral("0123456789,,..-+ aZ\t٣₺"), 24);
    const NumberReading reading = SayiyaCevir(text);
    if (reading.ok)
        require(std::isfinite(reading.value), "SayiyaCevir gave a value that is no number", text);
    else
        require(reading.value == 0 && !reading.message.isEmpty(),
                "SayiyaCevir refused without a message or with a value", text);
    if (text.isEmpty())
        return;
    QString marked = text;
    marked.insert(random.number(1, int(text.size())),
                  random.chance(50) ? QStringLiteral(".") : QStringLiteral(" "));
    require(sameReading(SayiyaCevir(marked), reading),
            "a thousands mark or blank changed what SayiyaCevir reads", text + u'|' + marked);
}

// An amount shown in a box reads back as itself, however large (no wrapped whole numbers).
void amounts(Generator &random)
{
    double value;
    if (random.chance(70)) {
        const qlonglong cents = qlonglong(random.number(0, 999999)) * random.number(0, 999999);
        value = double(cents) / 100.0;
    } else {
        value = std::ldexp(double(random.number(1, 1 << 20)), random.number(0, 200));
    }
    if (random.chance(30))
        value = -value;
    const QString shown = random.chance(50) ? formats::amount(value) : formats::amountTotal(value);
    const NumberReading reading = SayiyaCevir(shown);
    require(reading.ok, "an amount shown in a box does not read back", shown);
    const double allowed = std::max(0.005 + 1e-9, std::fabs(value) * 1e-15);
    require(std::fabs(reading.value - value) <= allowed, "an amount reads back as another one",
            shown + QStringLiteral(" from ") + QString::number(value, 'g', 17));
}

// A run of keys in an amount box, the box doing what the rule lets through.
void amountKeys(Generator &random)
{
    static const QString keys = QStringLiteral("0123456789012345678901234567,,\b\b\b\ra.-+ ");
    const Region region = programRegion();
    QString text;
    int caret = 0;
    const int count = random.number(0, 30);
    QString typed;
    bool atTheEnd = true; // every key typed at the end of the text so far
    for (int i = 0; i < count; ++i) {
        const QChar key = keys.at(random.number(0, int(keys.size()) - 1));
        typed += key;
        if (random.chance(15)) {
            caret = random.number(0, int(text.size()));
            atTheEnd = atTheEnd && caret == text.size();
        }
        BoxState box{text, caret, 0, 0};
        if (random.chance(10) && !text.isEmpty()) {
            atTheEnd = false;
            box.selectionStart = random.number(0, int(text.size()) - 1);
            box.selectionLength = random.number(1, int(text.size()) - box.selectionStart);
            box.caret = box.selectionStart + box.selectionLength;
        }
        const KeyOutcome outcome = TutarTusKontrol(box, key, region);
        if (outcome.replaceText) {
            require(outcome.caret >= 0 && outcome.caret <= outcome.text.size(),
                    "the caret left the regrouped text", typed);
            require(sameReading(SayiyaCevir(outcome.text), SayiyaCevir(text)),
                    "regrouping changed the amount", typed);
            text = outcome.text;
            caret = outcome.caret;
            box.selectionLength = 0;
        } else {
            caret = box.caret;
        }
        if (!outcome.keep)
            continue;
        if (box.selectionLength > 0) {
            text.remove(box.selectionStart, box.selectionLength);
            caret = box.selectionStart;
            if (key == BackspaceKey)
                continue;
        }
        if (key == BackspaceKey) {
            if (caret > 0)
                text.remove(--caret, 1);
        } else {
            text.insert(caret++, key);
        }
        // A decimal mark typed in front of grouped digits leaves them behind it (as the rule
        // has it); typed at the end, at most two decimals follow the one mark.
        static const QRegularExpression anywhere(QStringLiteral("^[0-9.]*(,[0-9.]*)?$"));
        static const QRegularExpression atEnd(QStringLiteral("^[0-9.]*(,[0-9]{0,2})?$"));
        require((atTheEnd ? atEnd : anywhere).match(text).hasMatch(),
                "an amount box holds more than digits, marks and two decimals", typed);
    }
}

// A date box: refused dates empty it with the message; completed dates are whole and valid
// and complete to themselves.
void dates(Generator &random)
{
    QString text;
    if (random.chance(70)) {
        text = random.text(QStringLiteral("0123456789  "), 2) + QLatin1Char('.')
            + random.text(QStringLiteral("0123456789 "), 2) + QLatin1Char('.')
            + random.text(QStringLiteral("0123456789 "), 4);
    } else {
        text = random.text(QStringLiteral("0123456789 .:,-a"), 14);
    }
    const Completion done = TarihTamamla(text);
    if (!done.ok) {
        require(done.text.isEmpty(), "a refused date stays in its box", text);
        require(done.message.startsWith(QLatin1Char('"'))
                    && done.message.endsWith(QStringLiteral("\" tarih girişiniz uygun değil!")),
                "a refused date has another message", text + u'|' + done.message);
        return;
    }
    if (done.text == text)
        return;
    static const QRegularExpression whole(QStringLiteral("^(\\d\\d)\\.(\\d\\d)\\.(\\d{4})$"));
    const QRegularExpressionMatch parts = whole.match(done.text);
    require(parts.hasMatch(), "a completed date is not dd.mm.yyyy", text + u'|' + done.text);
    const int day = parts.captured(1).toInt();
    const int month = parts.captured(2).toInt();
    const int year = parts.captured(3).toInt();
    require(day >= 1 && day <= 31 && month >= 1 && month <= 12 && year >= 1905 && year <= 2999,
            "a completed date is out of range", text + u'|' + done.text);
    const Completion again = TarihTamamla(done.text);
    require(again.ok && again.text == done.text, "a completed date completes to another",
            done.text);
}

void times(Generator &random)
{
    QString text;
    if (random.chance(70)) {
        text = random.text(QStringLiteral("0123456789 "), 2) + QLatin1Char(':')
            + random.text(QStringLiteral("0123456789 "), 2);
    } else {
        text = random.text(QStringLiteral("0123456789 .:,-a"), 8);
    }
    const QString reset = random.chance(50) ? QString() : QStringLiteral("09:00");
    const Completion done = SaatTamamla(text, programRegion(), reset);
    if (!done.ok) {
        require(done.text == reset, "a refused time is not reset", text);
        require(done.message.endsWith(QStringLiteral("\" saat girişiniz uygun değil!")),
                "a refused time has another message", text + u'|' + done.message);
        return;
    }
    if (done.text == text)
        return;
    static const QRegularExpression whole(QStringLiteral("^(\\d\\d):(\\d\\d)$"));
    const QRegularExpressionMatch parts = whole.match(done.text);
    require(parts.hasMatch(), "a completed time is not hh:mm", text + u'|' + done.text);
    const int hour = parts.captured(1).toInt();
    const int minute = parts.captured(2).toInt();
    require(hour >= 1 && hour <= 23 && minute >= 0 && minute <= 59,
            "a completed time is out of range", text + u'|' + done.text);
    const Completion again = SaatTamamla(done.text, programRegion(), reset);
    require(again.ok && again.text == done.text, "a completed time completes to another",
            done.text);
}

// A key the digits rule lets through is one SayiyaCevir reads as that digit.
void digitKeys(Generator &random)
{
    const QChar key(char16_t(random.chance(50) ? random.number(0, 0x7f)
                                               : random.number(0x80, 0xffff)));
    if (!RakamTusKontrol(key) || !key.isPrint())
        return;
    const NumberReading reading = SayiyaCevir(QString(key));
    require(reading.ok && key.unicode() < 0x80 && reading.value == key.digitValue(),
            "the digits rule let through a key that is no digit", QString(key));
}

// Lower-casing: no capital and nothing blank or control at the ends; done twice it is done
// once; blanks and control characters around a text change nothing.
void lowerCasing(Generator &random)
{
    static const QString letters = QStringLiteral("AIİıiÇçĞğÖöŞşÜüÂâzZ09.- €")
        + QStringLiteral("\t\u007f\u0000\u001f\u0085\u00a0\u2003\u200b");
    static const QString blanks = QStringLiteral(" \t\r\n\u007f\u0000\u001f\u0085\u00a0\u3000");
    const QString text = random.text(letters, 16);
    const QString lowered = KucukHarfTr(text);
    require(lowered.size() <= text.size(), "lower-casing made the text longer", text);
    if (!lowered.isEmpty())
        require(!isBlankOrControl(lowered.front()) && !isBlankOrControl(lowered.back()),
                "lower-casing kept a blank or control character at an end", text);
    for (const QChar c : lowered)
        require(!(c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                    && !QStringLiteral("İÇĞÖŞÜ").contains(c),
                "lower-casing kept a capital", text);
    require(KucukHarfTr(lowered) == lowered, "lower-casing twice changed the text", text);
    const QString padded = random.text(blanks, 3) + text + random.text(blanks, 3);
    require(KucukHarfTr(padded) == lowered, "blanks around a text changed its lower-casing",
            padded);
}

// Texts in buffers of their exact length, so that a read past the end is caught.
class Buffer {
public:
    explicit Buffer(const QByteArray &bytes)
        : m_size(size_t(bytes.size())), m_data(new char[m_size ? m_size : 1])
    {
        if (m_size)
            std::memcpy(m_data.get(), bytes.constData(), m_size);
    }
    const char *data() const { return m_data.get(); }
    size_t size() const { return m_size; }

private:
    size_t m_size;
    std::unique_ptr<char[]> m_data;
};

int sign(int n)
{
    return (n > 0) - (n < 0);
}

int compare(const Buffer &a, const Buffer &b)
{
    return sign(compareTurkish(a.data(), a.size(), b.data(), b.size()));
}

// The order: equal only for the same bytes, antisymmetric and transitive.
void order(Generator &random)
{
    const QByteArray first = random.bytes(6);
    // Texts that share a beginning are where the comparison starts in the middle.
    auto related = [&]() -> QByteArray {
        if (random.chance(60))
            return first.left(random.number(0, int(first.size()))) + random.bytes(4);
        return random.bytes(6);
    };
    const QByteArray second = related();
    const QByteArray third = related();
    const Buffer a(first), b(second), c(third);
    const QString input = escaped(first) + u'|' + escaped(second) + u'|' + escaped(third);
    require(compare(a, a) == 0, "a text is not equal to itself", input);
    const int ab = compare(a, b);
    require(ab == -compare(b, a), "the order is not antisymmetric", input);
    require((ab == 0) == (first == second), "different texts compare equal", input);
    const int bc = compare(b, c);
    const int ac = compare(a, c);
    if (ab <= 0 && bc <= 0)
        require(ac <= 0, "the order is not transitive", input);
    if (ab >= 0 && bc >= 0)
        require(ac >= 0, "the order is not transitive", input);
}

struct Options {
    long long iterations = 20000;
    double seconds = 0;
    quint64 seed = 1;
};

Options parse(int argc, char **argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char *value = argv[i + 1];
        if (name == "--iterations")
            options.iterations = std::atoll(value);
        else if (name == "--seconds")
            options.seconds = std::atof(value);
        else if (name == "--seed")
            options.seed = std::strtoull(value, nullptr, 10);
        else
            std::fprintf(stderr, "unknown option %s\n", name.c_str());
    }
    return options;
}

} // namespace

int main(int argc, char **argv)
{
    const Options options = parse(argc, argv);
    Generator random(options.seed);
    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    long long rounds = 0;
    while (options.seconds > 0 ? elapsed() < options.seconds : rounds < options.iterations) {
        failedRound = int(rounds);
        numbers(random);
        amounts(random);
        amountKeys(random);
        dates(random);
        times(random);
        digitKeys(random);
        lowerCasing(random);
        order(random);
        ++rounds;
    }
    std::printf("%lld rounds, seed %llu: every check held\n", rounds,
                static_cast<unsigned long long>(options.seed));
    return 0;
}
