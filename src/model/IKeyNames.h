#pragma once
// The key a user command is bound to, as text, for messages such as the reset hint. The input
// subsystem implements it; the flight model names commands by their UC_ name because it does
// not depend on the input code.

#include <string>

class IKeyNames
{
public:
    virtual ~IKeyNames() = default;
    // The key text of the command named e.g. "UC_MODEL_RESET_POSITION".
    virtual std::string GetCommandKeyText(const char* commandName) const = 0;
};

// Headless: no key table; a fixed text stands in.
class CNullKeyNames : public IKeyNames
{
public:
    std::string GetCommandKeyText(const char*) const override { return "key"; }
};
