#pragma once
// A person the person list hands to the window that asked it to choose one.

#include <QString>
#include <functional>

namespace lumkar {

struct ChosenPerson {
    QString sicilKodu, adi, soyadi, tel1, tel2, ceptel, adres;
};
using PersonChosen = std::function<void(const ChosenPerson &)>;

} // namespace lumkar
