#pragma once
// The help window: one topic file at a time in a read-only viewer.

#include "app/formbase.h"
#include "app/helptopics.h"

#include <QWidget>

class QComboBox;
class QPushButton;
class QTextBrowser;

namespace lumkar {

class TyardimF : public QWidget, public FormContext, public HelpTopics {
    Q_OBJECT
public:
    TyardimF(Forms &forms, Session &session);

    // The topic files in list order.
    static QStringList topicFiles();

    // Shows the window, then loads the topic file; the topic list keeps its entry.
    void openTopic(const QString &file) override;
    // Replaces the viewer's text with the file's when the file exists; false otherwise.
    bool loadTopic(const QString &file);
    void ComboBox1Change();

    QComboBox *ComboBox1;
    QTextBrowser *RichEdit1;
    QPushButton *kapatBut;
};

} // namespace lumkar
