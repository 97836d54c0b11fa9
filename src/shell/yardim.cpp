#include "shell/yardim.h"

#include "data/codepage.h"
#include "kit/rtftext.h"

#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace lumkar {

TyardimF::TyardimF(Forms &forms, Session &session) : FormContext(forms, session)
{
    setObjectName(QStringLiteral("yardimF"));
    setWindowTitle(QStringLiteral("Lumkar Vikelmo Programı Yardım"));
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Yardım Alınacak Konuyu Seçin"), this));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("Programa Giriş ve Şifre"),
                         QStringLiteral("Randevu ve Anamenü İşlemleri"),
                         QStringLiteral("Aylık Haftalık Randevu Rapor ve Giriş"),
                         QStringLiteral("Firmalar Borç-Alacak Raporları ve Tahsilat"),
                         QStringLiteral("Görüşme Notları"),
                         QStringLiteral("Firma Bilgileri Giriş ve Değişiklik"),
                         QStringLiteral("Randevu Raporları"),
                         QStringLiteral("Firma Kayıt Bilgileri ve Raporu")});
    top->addWidget(ComboBox1, 1);
    layout->addLayout(top);
    RichEdit1 = new QTextBrowser(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAccessibleName(QStringLiteral("Yardım Metni"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setOpenLinks(false);
    layout->addWidget(RichEdit1, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    kapatBut = new QPushButton(QStringLiteral("KAPAT"), this);
    kapatBut->setObjectName(QStringLiteral("kapatBut"));
    kapatBut->setToolTip(QStringLiteral("Kapat..."));
    bottom->addWidget(kapatBut);
    layout->addLayout(bottom);

    connect(ComboBox1, &QComboBox::activated, this, &TyardimF::ComboBox1Change);
    connect(kapatBut, &QPushButton::clicked, this, &QWidget::hide);
    resize(720, 560);
}

QStringList TyardimF::topicFiles()
{
    return {QStringLiteral("ygiris"),   QStringLiteral("yanamenu"), QStringLiteral("yaylik"),
            QStringLiteral("ycari"),    QStringLiteral("ygorusme"), QStringLiteral("yozluk"),
            QStringLiteral("yrandevu"), QStringLiteral("ysicilrapor")};
}

void TyardimF::ComboBox1Change()
{
    const int index = ComboBox1->currentIndex();
    if (index >= 0 && index < topicFiles().size())
        loadTopic(topicFiles().at(index));
}

bool TyardimF::loadTopic(const QString &file)
{
    QFile f(session().helpFilePath(file));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    if (isRtf(bytes)) {
        RichEdit1->setPlainText(rtfToPlainText(bytes));
        return true;
    }
    // UTF-8, or an older file in the Turkish code page.
    const QString text = decodeLocalText(bytes);
    if (Qt::mightBeRichText(text))
        RichEdit1->setHtml(text);
    else
        RichEdit1->setPlainText(text);
    return true;
}

void TyardimF::openTopic(const QString &file)
{
    show();
    raise();
    activateWindow();
    loadTopic(file);
}

} // namespace lumkar
