// The display check reads the platform and the X display where Qt reads them: the command line
// before the environment, option by option as Qt takes them out of the arguments.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "framework/toolkit/toolkit.h"

namespace {

// An X display of the test's own: a socket that listens in the abstract namespace where the
// local X server of that number would. The check only connects; nothing is drawn.
class ListeningDisplay {
  public:
    ListeningDisplay() {
        for (number_ = 700; number_ < 800; ++number_) {
            if (std::filesystem::exists(Path())) continue;
            fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_un address = Address();
            const auto length =
                static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + Path().size());
            if (bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                listen(fd_, 8) == 0)
                return;
            close(fd_);
            fd_ = -1;
        }
    }
    ~ListeningDisplay() {
        if (fd_ >= 0) close(fd_);
    }
    ListeningDisplay(const ListeningDisplay&) = delete;
    ListeningDisplay& operator=(const ListeningDisplay&) = delete;

    bool Listening() const { return fd_ >= 0; }
    std::string Name() const { return ":" + std::to_string(number_); }
    // A display beside it that nobody serves.
    std::string Unserved() const { return ":" + std::to_string(number_ + 100); }

  private:
    std::string Path() const { return "/tmp/.X11-unix/X" + std::to_string(number_); }
    sockaddr_un Address() const {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, Path().data(), Path().size());  // [0] stays zero
        return address;
    }

    int number_ = 0;
    int fd_ = -1;
};

// Sets or unsets a variable for the life of the object, then puts the old value back.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Put(value);
    }
    ~ScopedVariable() { Put(old_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    void Put(const std::optional<std::string>& value) {
        if (value) {
            setenv(name_, value->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

struct ProbeCase {
    std::vector<std::string> arguments;            // after the program's name
    std::optional<std::string> display, platform;  // DISPLAY and QT_QPA_PLATFORM
    bool available;
    std::string said;  // the start of the reason, when there is none
};

std::string Described(const ProbeCase& c) {
    std::string text = "DISPLAY=" + c.display.value_or("(unset)") +
                       " QT_QPA_PLATFORM=" + c.platform.value_or("(unset)") + " args:";
    for (const std::string& argument : c.arguments) text += " " + argument;
    return text;
}

TEST(DisplayProbe, AsksForThePlatformAndTheXDisplayThatQtWillUse) {
    const ListeningDisplay served;
    ASSERT_TRUE(served.Listening());
    const std::string good = served.Name(), bad = served.Unserved();
    const std::string refused = "cannot connect to the X server " + bad;
    const std::string unset = "DISPLAY is not set";
    // clang-format off
    // Arguments; DISPLAY, QT_QPA_PLATFORM; whether a display is found; else the reason.
    const ProbeCase cases[] = {
        {{},                                          {},   {},          false, unset},
        {{},                                          good, {},          true,  ""},
        {{"-platform", "offscreen"},                  {},   {},          true,  ""},
        {{"--platform", "offscreen"},                 {},   {},          true,  ""},
        {{"-platform=offscreen"},                     {},   {},          false, unset},  // not Qt's
        {{"-platform", "xcb", "-display", bad},       good, "offscreen", false, refused},
        {{"-display", bad},                           good, {},          false, refused},
        {{"--display", bad},                          good, {},          false, refused},
        {{"-display", good},                          {},   {},          true,  ""},
        {{"-display", bad, "-display", good},         good, {},          true,  ""},  // the last
        {{"-display"},                                good, {},          true,  ""},  // no value
        {{"-display", "nowhere"},                     good, {},          false,
         "-display \"nowhere\" names no display number"},
        {{"-title", "-display", bad},                 good, {},          true,  ""},  // a title
        {{"-platform", "offscreen", "-display", bad}, good, {},          true,  ""},  // not X
    };
    // clang-format on
    const ScopedVariable noWayland("WAYLAND_DISPLAY", std::nullopt);
    for (const ProbeCase& c : cases) {
        const ScopedVariable display("DISPLAY", c.display), platform("QT_QPA_PLATFORM", c.platform);
        std::vector<std::string> texts = {"corvane-conversion"};
        texts.insert(texts.end(), c.arguments.begin(), c.arguments.end());
        std::vector<char*> argv;
        for (std::string& text : texts) argv.push_back(text.data());
        argv.push_back(nullptr);
        std::string why;
        EXPECT_EQ(ToolkitDisplayAvailable(static_cast<int>(texts.size()), argv.data(), &why),
                  c.available)
            << Described(c) << ": " << why;
        if (!c.available) {
            EXPECT_TRUE(why.starts_with("no display found: " + c.said))
                << Described(c) << ": " << why;
        }
    }
}

}  // namespace
