#include "script/ScriptError.h"

#include <algorithm>

namespace script {

std::string_view errorDescription(int number)
{
    const auto it = std::find_if(kErrors.begin(), kErrors.end(), [number](const ErrorInfo &e) { return e.number == number; });
    return it != kErrors.end() ? it->text : std::string_view("Unknown runtime error");
}

ScriptError::ScriptError(int number, std::string_view detail, std::size_t position)
    : number_(number), position_(position), description_(errorDescription(number))
{
    if (!detail.empty()) {
        description_ += ": ";
        description_ += detail;
    }
}

} // namespace script
