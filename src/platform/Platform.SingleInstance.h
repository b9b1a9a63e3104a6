#pragma once
// Marks the running copy of the program and lets a second copy signal it.
// The signal arrives in the running copy as a TInstanceMessageEvent posted to
// the application object.

#include <QEvent>
#include <QString>

#include <memory>

namespace Platform {

class TInstanceMessageEvent : public QEvent
{
public:
    TInstanceMessageEvent() : QEvent(EventType()) {}
    static QEvent::Type EventType();
};

class TSingleInstanceGuard
{
public:
    virtual ~TSingleInstanceGuard() = default;

    // Claims the name for this copy. When another copy holds it, that copy is
    // sent the instance message and nullptr comes back. Needs the
    // application object.
    static std::unique_ptr<TSingleInstanceGuard> Claim(const QString& instanceName);
};

} // namespace Platform
