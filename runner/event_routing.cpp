#include "runner/event_routing.h"

#include <utility>

namespace {

EventRoute* innermost = nullptr;

} // namespace

EventRoute::EventRoute(Handler handler) : handler_(std::move(handler)), outer_(innermost)
{
    innermost = this;
}

EventRoute::~EventRoute()
{
    innermost = outer_;
}

void EventRoute::Forward(int code, int value, int index)
{
    if (innermost != nullptr) {
        innermost->handler_(code, value, index);
    }
}
