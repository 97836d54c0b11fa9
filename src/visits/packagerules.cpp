#include "visits/packagerules.h"


namespace lumkar {

PackageCodeReading readPackageCode(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {std::nullopt, QStringLiteral("Kodu Girmelisiniz!")};
    bool ok = false;
    const qlonglong value = trimmed.toLongLong(&ok);
    if (!ok)
        return {std::nullopt, QStringLiteral("Paket kodu yalnız rakamlardan oluşmalıdır!")};
    if (value > kLargestPackageCode)
        return {std::nullopt,
                QStringLiteral("Paket kodu en fazla %1 olabilir! Paket kaydedilmedi.")
                    .arg(kLargestPackageCode)};
    return {int(value), QString()};
}

QString packageDeleteQuestion(const QString &paketkodu, const QString &paketadi)
{
    return paketkodu + QStringLiteral(" kodlu ") + paketadi + QStringLiteral(" adlı \n\r")
        + QStringLiteral(" paket işlemi kayıtlardan silinecektir.\n\rDevam edilsinmi?");
}

} // namespace lumkar
