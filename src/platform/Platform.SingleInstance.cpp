#include "Platform.SingleInstance.h"

namespace Platform {

QEvent::Type TInstanceMessageEvent::EventType()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

} // namespace Platform
