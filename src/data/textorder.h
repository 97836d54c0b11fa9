#pragma once
// The order of texts in lists: the Turkish alphabet, capitals and small letters alike
// (a b c ç d e f g ğ h ı i j k l m n o ö p q r s ş t u ü v w x y z, with I the capital of ı
// and İ the capital of i). Digits, spaces and signs keep their code order before the letters;
// other letters follow the Turkish ones by code. Texts equal in that order fall back to their
// bytes, so the order is total and the same text always lands in the same place.

#include <QString>
#include <cstddef>

namespace lumkar {

// Compares two UTF-8 texts; negative, zero or positive.
int compareTurkish(const char *a, size_t lengthA, const char *b, size_t lengthB);
int compareTurkish(const QString &a, const QString &b);

} // namespace lumkar
