// Where finished report records go: the console or the report file.
#pragma once

#include <string_view>

namespace korv {

// A record is one line of single-byte characters without a terminator.
class RecordDestination {
  public:
    virtual ~RecordDestination() = default;
    virtual void writeRecord(std::string_view record) = 0;
};

}  // namespace korv
