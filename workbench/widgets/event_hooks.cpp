#include "workbench/widgets/event_hooks.h"

void EventHooks::On(QObject* target, QEvent::Type type, Handler handler)
{
    auto& hooks = hooks_[target];
    if (hooks.empty()) {
        target->installEventFilter(this);
        connect(target, &QObject::destroyed, this, [this, target] { hooks_.remove(target); });
    }
    hooks.push_back({type, std::move(handler)});
}

bool EventHooks::eventFilter(QObject* watched, QEvent* event)
{
    const auto found = hooks_.constFind(watched);
    if (found != hooks_.constEnd()) {
        for (const Hook& hook : *found) {
            if (hook.type == event->type() && hook.handler(event)) {
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
