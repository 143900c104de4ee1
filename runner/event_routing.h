#pragma once

#include <functional>

// The machine and the assembler report through a plain function. While an
// EventRoute lives, that function passes their events to its handler; routes
// nest, and the innermost one receives the events.
class EventRoute {
public:
    using Handler = std::function<void(int code, int value, int index)>;

    explicit EventRoute(Handler handler);
    ~EventRoute();
    EventRoute(const EventRoute&) = delete;
    EventRoute& operator=(const EventRoute&) = delete;

    // The event sink to give to CCpu and CAssembler.
    static void Forward(int code, int value, int index);

private:
    Handler handler_;
    EventRoute* outer_;
};
