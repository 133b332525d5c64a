#include "services/MessageSink.h"

namespace invorator {

QString iconName(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical:
        return QStringLiteral("critical");
    case MsgIcon::Exclamation:
        return QStringLiteral("exclamation");
    case MsgIcon::Information:
        return QStringLiteral("information");
    case MsgIcon::Question:
        return QStringLiteral("question");
    case MsgIcon::None:
        return QStringLiteral("none");
    }
    return {};
}

} // namespace invorator
