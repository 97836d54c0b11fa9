#pragma once
// Opening a help topic, as every window does from its help key; the help window does it.

#include <QString>

namespace lumkar {

class HelpTopics {
public:
    virtual ~HelpTopics() = default;
    // Shows the help window with the topic file `file` ("yanamenu", "ygiris", ...).
    virtual void openTopic(const QString &file) = 0;
};

} // namespace lumkar
