#include "runner/json_stream.h"

#include <utility>

namespace {

// The members of an object, without its braces.
std::string Members(const Json& object)
{
    const std::string text = JsonText(object);
    return text.substr(1, text.size() - 2);
}

} // namespace

std::string JsonText(const Json& value)
{
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

StreamedJson::StreamedJson(std::ostream& out) : out_(out) {}

StreamedJson::StreamedJson(std::ostream& out, Json leading, std::string key)
    : out_(out), leading_(std::move(leading)), key_(std::move(key))
{
}

void StreamedJson::Start()
{
    if (started_) {
        return;
    }
    started_ = true;
    if (!key_.empty()) {
        out_ << '{';
        if (!leading_.empty()) {
            out_ << Members(leading_) << ',';
        }
        out_ << JsonText(key_) << ':';
    }
    out_ << '[';
}

void StreamedJson::Add(const Json& element)
{
    Start();
    out_ << (empty_ ? "" : ",") << JsonText(element);
    empty_ = false;
}

void StreamedJson::Finish(const Json& trailing)
{
    Start();
    out_ << ']';
    if (!key_.empty()) {
        if (!trailing.empty()) {
            out_ << ',' << Members(trailing);
        }
        out_ << '}';
    }
    out_ << '\n';
}
