#pragma once

#include <QEvent>
#include <QHash>
#include <QObject>

#include <functional>
#include <vector>

// Lets each part of the window attach handlers for the events of the controls
// it owns (typed keys, focus changes) without one shared switch.
class EventHooks : public QObject {
public:
    // Returns true when the handler consumed the event.
    using Handler = std::function<bool(QEvent*)>;

    explicit EventHooks(QObject* parent) : QObject(parent) {}

    void On(QObject* target, QEvent::Type type, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Hook {
        QEvent::Type type;
        Handler handler;
    };
    QHash<QObject*, std::vector<Hook>> hooks_;
};
