#pragma once
// A package the catalogue hands to the window that asked for one: code and name, and its
// price and premium rate as plain numbers ("150,5"), empty when the package has none.

#include <QString>
#include <functional>

namespace lumkar {

struct ChosenPackage {
    QString kodu, adi, tutar, primoran;
};
using PackageChosen = std::function<void(const ChosenPackage &)>;

} // namespace lumkar
