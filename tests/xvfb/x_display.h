// A virtual X server of the tests' own, and real input given to it through the XTEST
// extension, as a person at its keyboard and mouse gives it. No Xlib type leaks out of here
// (X11 names such as Window would collide with the framework's): a connection to the server
// is an Xlib Display passed as void*.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// An Xvfb on a display number it picks itself, without a window manager; stopped with the
// object, or when the process ends in any other way.
class VirtualDisplay {
  public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool Running() const { return !name_.empty(); }
    const std::string& Name() const { return name_; }  // ":N"

  private:
    pid_t pid_ = -1;
    std::string name_;
};

// Waits for the server's answer to a request on `display`: every event the server made
// before has reached that connection.
void RoundTrip(void* display);

// A client connection that gives the server input through XTEST.
class XInput {
  public:
    explicit XInput(const std::string& display);
    ~XInput();
    XInput(const XInput&) = delete;
    XInput& operator=(const XInput&) = delete;

    bool Connected() const { return display_ != nullptr; }

    // Presses the keys named (X keysym names: "Control_L", "BackSpace", "F5", "a") in order
    // and releases them in reverse: a key with its modifiers. A keysym that no key carries is
    // put on a spare key first.
    void Chord(const std::vector<const char*>& keys);
    // Types each character of `text` (ASCII), with Shift where the keyboard needs it.
    void Type(const std::string& text);
    // Moves the pointer to (x, y) of the screen and presses and releases the left button.
    void Click(int x, int y);
    // Asks `window` to close as a window manager does for Alt+F4 or a title-bar button:
    // WM_PROTOCOLS with WM_DELETE_WINDOW.
    void RequestClose(unsigned long window);
    // Returns once the server has taken everything sent so far.
    void Sync();

  private:
    unsigned KeycodeOf(unsigned long keysym, bool* shifted);

    void* display_ = nullptr;  // the Xlib Display
};
