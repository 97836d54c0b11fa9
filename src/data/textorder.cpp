#include "data/textorder.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <cstring>

namespace lumkar {

namespace {

constexpr unsigned kLetterBase = 1000;  // Turkish letters, 2 apart
constexpr unsigned kOtherBase = 100000; // any other code point beyond ASCII

// The position of a lower-case Turkish letter in the alphabet, -1 for anything else.
int alphabetIndex(char32_t lower)
{
    static constexpr char32_t kAlphabet[] = {
        U'a', U'b', U'c', U'ç', U'd', U'e', U'f', U'g', U'ğ', U'h', U'ı', U'i', U'j', U'k', U'l',
        U'm', U'n', U'o', U'ö', U'p', U'q', U'r', U's', U'ş', U't', U'u', U'ü', U'v', U'w', U'x',
        U'y', U'z'};
    for (size_t i = 0; i < std::size(kAlphabet); ++i)
        if (kAlphabet[i] == lower)
            return int(i);
    return -1;
}

char32_t turkishLower(char32_t c)
{
    switch (c) {
    case U'I': return U'ı';
    case U'İ': return U'i';
    case U'Ç': return U'ç';
    case U'Ğ': return U'ğ';
    case U'Ö': return U'ö';
    case U'Ş': return U'ş';
    case U'Ü': return U'ü';
    default: break;
    }
    if (c >= U'A' && c <= U'Z')
        return c + 32;
    return c;
}

unsigned weightOf(char32_t c)
{
    const int letter = alphabetIndex(turkishLower(c));
    if (letter >= 0)
        return kLetterBase + 2 * unsigned(letter);
    if (c < 128)
        return unsigned(c);
    return kOtherBase + unsigned(c);
}

// The weights of ASCII, looked up rather than worked out on every comparison.
const std::array<unsigned, 128> &asciiWeights()
{
    static const std::array<unsigned, 128> table = [] {
        std::array<unsigned, 128> t{};
        for (unsigned c = 0; c < 128; ++c)
            t[c] = weightOf(char32_t(c));
        return t;
    }();
    return table;
}

// Reads one code point of UTF-8 at `p` (not past `end`) and moves `p` on. A broken sequence
// reads as its first byte.
char32_t nextCodePoint(const unsigned char *&p, const unsigned char *end)
{
    const unsigned char lead = *p;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || end - p <= extra) {
        ++p;
        return lead;
    }
    char32_t c = lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            ++p;
            return lead;
        }
        c = (c << 6) | (p[i] & 0x3F);
    }
    p += extra + 1;
    return c;
}

// A character's one-byte place in a sort key, 0 for characters kept as they are. ASCII signs
// and digits come first in code order (from 2: 0x01 ends the places), then the alphabet.
unsigned char rankOf(char32_t c)
{
    static const std::array<unsigned char, 128> ascii = [] {
        std::array<unsigned char, 128> t{};
        unsigned char next = 2;
        for (unsigned code = 0; code < 128; ++code)
            if (alphabetIndex(turkishLower(code)) < 0)
                t[code] = next++;
        for (unsigned code = 0; code < 128; ++code)
            if (const int letter = alphabetIndex(turkishLower(code)); letter >= 0)
                t[code] = static_cast<unsigned char>(next + letter);
        return t;
    }();
    if (c < 128)
        return ascii[c];
    const int letter = alphabetIndex(turkishLower(c));
    return letter >= 0 ? static_cast<unsigned char>(ascii['a'] + letter) : 0;
}

void appendUtf8(QByteArray &out, char32_t c)
{
    if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
    }
    out += char(0x80 | (c & 0x3F));
}

QByteArray placesOf(const char *utf8, size_t length)
{
    QByteArray out;
    out.reserve(qsizetype(length) + 4);
    auto *p = reinterpret_cast<const unsigned char *>(utf8);
    const unsigned char *end = p + length;
    while (p < end) {
        const char32_t c = nextCodePoint(p, end);
        if (const unsigned char rank = rankOf(c))
            out += char(rank);
        else
            appendUtf8(out, c);
    }
    return out;
}

} // namespace

QByteArray turkishSortKey(const char *utf8, size_t length)
{
    QByteArray key = placesOf(utf8, length);
    key += char(1);
    key.append(utf8, qsizetype(length));
    return key;
}

QByteArray turkishSortKey(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return turkishSortKey(bytes.constData(), size_t(bytes.size()));
}

QByteArray turkishSortPrefix(const QString &prefix)
{
    const QByteArray bytes = prefix.toUtf8();
    return placesOf(bytes.constData(), size_t(bytes.size()));
}

QString rankedCharacters()
{
    QString out;
    auto add = [&out](char32_t c) {
        out += QString::fromUcs4(&c, 1);
        const char32_t rank = rankOf(c);
        out += QString::fromUcs4(&rank, 1);
    };
    for (char32_t c = 1; c < 128; ++c)
        add(c);
    for (const char32_t c : {U'ç', U'ğ', U'ı', U'ö', U'ş', U'ü', U'Ç', U'Ğ', U'İ', U'Ö', U'Ş', U'Ü'})
        add(c);
    return out;
}

int compareTurkish(const char *a, size_t lengthA, const char *b, size_t lengthB)
{
    const auto &ascii = asciiWeights();
    auto *p = reinterpret_cast<const unsigned char *>(a);
    auto *q = reinterpret_cast<const unsigned char *>(b);
    const unsigned char *endP = p + lengthA;
    const unsigned char *endQ = q + lengthB;
    // Equal bytes weigh the same: start at the code point where the texts part. That is a
    // place where neither text continues a sequence begun before it (or has ended), so both
    // texts read on from there exactly as they would from their first byte.
    size_t same = 0;
    const size_t shorter = std::min(lengthA, lengthB);
    while (same < shorter && p[same] == q[same])
        ++same;
    auto continues = [](const unsigned char *text, size_t length, size_t at) {
        return at < length && (text[at] & 0xC0) == 0x80;
    };
    while (same > 0 && (continues(p, lengthA, same) || continues(q, lengthB, same)))
        --same;
    p += same;
    q += same;
    while (p < endP && q < endQ) {
        unsigned wp, wq;
        if (*p < 0x80 && *q < 0x80) {
            wp = ascii[*p++];
            wq = ascii[*q++];
        } else {
            wp = weightOf(nextCodePoint(p, endP));
            wq = weightOf(nextCodePoint(q, endQ));
        }
        if (wp != wq)
            return wp < wq ? -1 : 1;
    }
    if ((p < endP) != (q < endQ))
        return p < endP ? 1 : -1;
    const int bytes = std::memcmp(a, b, std::min(lengthA, lengthB));
    if (bytes != 0)
        return bytes;
    return lengthA < lengthB ? -1 : lengthA > lengthB ? 1 : 0;
}

int compareTurkish(const QString &a, const QString &b)
{
    const QByteArray x = a.toUtf8();
    const QByteArray y = b.toUtf8();
    return compareTurkish(x.constData(), size_t(x.size()), y.constData(), size_t(y.size()));
}

} // namespace lumkar
