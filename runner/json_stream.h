#pragma once

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>

// Members keep the order they were added in, as mira-run has always written them.
using Json = nlohmann::ordered_json;

// JSON text on one line. Bytes that are not UTF-8, such as a file name in
// another character set, become U+FFFD, so that the JSON stays valid
// whatever the names.
std::string JsonText(const Json& value);

// A JSON array, alone or as a member of an object, written one element at a
// time so that a long one (the trace of millions of steps, a class of
// thousands) never sits in memory whole. Nothing is written before the first
// element or Finish.
class StreamedJson {
public:
    // [elements]
    explicit StreamedJson(std::ostream& out);
    // {leading members, "key":[elements], trailing members}
    StreamedJson(std::ostream& out, Json leading, std::string key);

    void Add(const Json& element);
    // Closes the array and the object, with the trailing members, and ends the line.
    void Finish(const Json& trailing = Json::object());

private:
    void Start();

    std::ostream& out_;
    Json leading_;
    std::string key_; // empty for an array alone
    bool started_ = false;
    bool empty_ = true;
};
