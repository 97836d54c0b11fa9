#pragma once
// The order of texts in lists: the Turkish alphabet, capitals and small letters alike
// (a b c ç d e f g ğ h ı i j k l m n o ö p q r s ş t u ü v w x y z, with I the capital of ı
// and İ the capital of i). Digits, spaces and signs keep their code order before the letters;
// other letters follow the Turkish ones by code. Texts equal in that order fall back to their
// bytes, so the order is total and the same text always lands in the same place.

#include <QByteArray>
#include <QString>
#include <cstddef>

namespace lumkar {

// Compares two UTF-8 texts; negative, zero or positive.
int compareTurkish(const char *a, size_t lengthA, const char *b, size_t lengthB);
int compareTurkish(const QString &a, const QString &b);

// The sort key of a UTF-8 text: each character's place in that order (one byte for ASCII and
// the Turkish letters, the character itself in UTF-8 for any other), a 0x01, then the text's
// own bytes. Keys compare byte by byte as compareTurkish compares their texts.
QByteArray turkishSortKey(const char *utf8, size_t length);
QByteArray turkishSortKey(const QString &text);
// The part of a key before the 0x01: the keys of texts that begin with `prefix` (in that
// order's terms, capitals and small letters alike) begin with it.
QByteArray turkishSortPrefix(const QString &prefix);
// The characters that take one byte in a key (ASCII and the Turkish letters, capital and
// small), each followed by that byte: for a server function that makes the same keys.
QString rankedCharacters();

} // namespace lumkar
