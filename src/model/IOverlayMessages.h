#pragma once
// Short texts over the flight view: "Damage: 23", the reset hint, the engine's start messages.
// The graphics implements it.

#include <string>

class IOverlayMessages
{
public:
    virtual ~IOverlayMessages() = default;
    // Shows a text for seconds, or until removed when seconds <= 0. Returns a handle (> 0), or 0
    // when the text is not shown.
    virtual int Show(const std::string& text, float seconds) = 0;
    // Removes a message early; an unknown or expired handle is ignored.
    virtual void Remove(int handle) = 0;
};

// Headless: messages go nowhere; Show says so by returning 0.
class CNullOverlayMessages : public IOverlayMessages
{
public:
    int Show(const std::string&, float) override { return 0; }
    void Remove(int) override {}
};
