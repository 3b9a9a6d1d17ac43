// libFuzzer target: arbitrary bytes as a statement and then as an expression (twice), with
// the result converted the way the windows convert it. Only ScriptError may come out.
#include "script/Engine.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A fresh engine per input keeps every finding reproducible on its own.
    script::Engine engine;
    engine.setTimeout(200);
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    try {
        engine.ExecuteStatement(text);
    } catch (const script::ScriptError &) {
    }
    for (int pass = 0; pass < 2; ++pass) { // the second pass runs the cached form
        try {
            const script::Value v = engine.Eval(text);
            (void)v.toText();
            (void)v.toDouble();
        } catch (const script::ScriptError &) {
        }
    }
    return 0;
}
