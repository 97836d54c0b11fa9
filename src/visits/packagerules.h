#pragma once
// The package catalogue's rules, free of widgets: reading a typed package code and the
// texts of the window's questions.

#include <QString>
#include <optional>

namespace lumkar {

// The largest package code the catalogue can hold (a 16-bit whole number).
inline constexpr int kLargestPackageCode = 32767;

// A typed package code: the whole number, or the message that refuses it (an empty box, a
// code the catalogue cannot hold).
struct PackageCodeReading {
    std::optional<int> code;
    QString message;
};
PackageCodeReading readPackageCode(const QString &text);

// The question before a package is deleted.
QString packageDeleteQuestion(const QString &paketkodu, const QString &paketadi);

} // namespace lumkar
