// Whether a display can be reached, asked before the Qt application is made: Qt ends the
// process when its platform plug-in finds no display, so the toolkit asks first and raises,
// saying why, instead. It asks where Qt will look: the platform and the X display that the
// command line names, else those of the environment.
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/toolkit/application.h"

namespace {

constexpr int kConnectTimeoutMs = 2000;
constexpr int kXServerBasePort = 6000;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Waits for a non-blocking connect to finish; 0 or the errno of the failure.
int FinishConnect(int fd, int started) {
    if (started == 0) return 0;
    if (errno != EINPROGRESS) return errno;
    pollfd waiting{fd, POLLOUT, 0};
    if (poll(&waiting, 1, kConnectTimeoutMs) <= 0) return ETIMEDOUT;
    int error = 0;
    socklen_t length = sizeof(error);
    getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
    return error;
}

// 0 when a stream connection to the local socket at `path` (abstract when `abstract`)
// succeeds, or the errno of the failure.
int ConnectLocal(const std::string& path, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() + 1 >= sizeof(address.sun_path)) return ENAMETOOLONG;
    size_t start = abstract ? 1 : 0;  // an abstract name begins with a zero byte
    std::memcpy(address.sun_path + start, path.data(), path.size());
    socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + start +
                                              path.size() + (abstract ? 0 : 1));
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return errno;
    int result = FinishConnect(fd, connect(fd, reinterpret_cast<sockaddr*>(&address), length));
    close(fd);
    return result;
}

int ConnectTcp(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return EHOSTUNREACH;
    int result = ECONNREFUSED;
    for (addrinfo* at = found; at && result != 0; at = at->ai_next) {
        int fd =
            socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, at->ai_protocol);
        if (fd < 0) continue;
        result = FinishConnect(fd, connect(fd, at->ai_addr, at->ai_addrlen));
        close(fd);
    }
    freeaddrinfo(found);
    return result;
}

void Say(std::string* why, const std::string& text) {
    if (why) *why = "no display found: " + text;
}

// ---- the command line as Qt reads it --------------------------------------------------------

// Qt's default platform where neither the command line nor QT_QPA_PLATFORM names one.
constexpr std::string_view kDefaultPlatform = "xcb";

// The options that QGuiApplication takes out of the arguments before the platform plug-in sees
// them, each with the value that follows it; the last three only while the platform is xcb.
constexpr std::string_view kGuiValueOptions[] = {"-platformpluginpath", "-platform",
                                                 "-platformtheme",      "-qwindowgeometry",
                                                 "-qwindowtitle",       "-qwindowicon"};
constexpr std::string_view kXcbGuiValueOptions[] = {"-geometry", "-title", "-icon"};
// The options the X platform plug-in then takes, each with the value that follows it.
constexpr std::string_view kXcbValueOptions[] = {"-display", "-name", "-visual"};

template <size_t N>
bool OneOf(std::string_view option, const std::string_view (&options)[N]) {
    for (std::string_view known : options)
        if (option == known) return true;
    return false;
}

// Qt takes "--name" for "-name".
std::string_view OptionName(std::string_view argument) {
    return argument.starts_with("--") ? argument.substr(1) : argument;
}

// What the command line asks of the platform: nothing where it names neither.
struct CommandLineChoice {
    std::optional<std::string> platforms;  // -platform NAME[;NAME…]
    std::optional<std::string> xDisplay;   // -display [host]:number[.screen]
};

// Reads the arguments in the two rounds Qt does: QGuiApplication takes its options (a value
// option takes the next argument whatever it is, and at the end nothing), and the X platform
// plug-in then reads what is left (a value option only where a value follows). The last
// -platform and the last -display count.
CommandLineChoice ReadCommandLine(int argc, char* const* argv) {
    CommandLineChoice choice;
    const std::string environment = Environment("QT_QPA_PLATFORM");
    std::string platform = environment.empty() ? std::string(kDefaultPlatform) : environment;
    std::vector<std::string_view> left;
    for (int i = 1; i < argc; ++i) {
        if (!argv[i]) continue;
        const std::string_view option = OptionName(argv[i]);
        const bool takesValue =
            option.starts_with('-') &&
            (OneOf(option, kGuiValueOptions) ||
             (platform.starts_with(kDefaultPlatform) && OneOf(option, kXcbGuiValueOptions)));
        if (!takesValue) {
            left.push_back(argv[i]);
        } else if (++i < argc && option == "-platform") {
            choice.platforms = platform = argv[i];
        }
    }
    for (size_t i = 0; i < left.size(); ++i) {
        const std::string_view option = OptionName(left[i]);
        if (i + 1 < left.size() && OneOf(option, kXcbValueOptions)) {
            ++i;
            if (option == "-display") choice.xDisplay = std::string(left[i]);
        }
    }
    return choice;
}

// ---- the display servers ------------------------------------------------------------------

// An X display is "[host]:number[.screen]"; a local server listens on /tmp/.X11-unix/X<number>
// (and on the abstract socket of that name), a remote one on TCP port 6000 + number. `source`
// says where the name came from, for the message.
bool XServerReachable(const std::string& display, std::string_view source, std::string* why) {
    if (display.empty()) {
        Say(why, "DISPLAY is not set");
        return false;
    }
    const std::string noNumber =
        std::string(source) + " \"" + display + "\" names no display number";
    const size_t colon = display.rfind(':');
    if (colon == std::string::npos || colon + 1 >= display.size()) {
        Say(why, noNumber);
        return false;
    }
    std::string host = display.substr(0, colon);
    const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
        Say(why, noNumber);
        return false;
    }
    int error = 0;
    if (host.empty() || host == "unix") {
        const std::string path = "/tmp/.X11-unix/X" + number;
        error = ConnectLocal(path, false);
        if (error != 0) error = ConnectLocal(path, true);
    } else {
        error = ConnectTcp(host, kXServerBasePort + std::stoi(number));
    }
    if (error != 0) {
        Say(why, "cannot connect to the X server " + display + " (" + std::strerror(error) + ")");
        return false;
    }
    return true;
}

// WAYLAND_DISPLAY names a socket, relative to XDG_RUNTIME_DIR unless it is a path.
bool WaylandReachable(std::string* why) {
    const std::string name = Environment("WAYLAND_DISPLAY");
    if (name.empty()) {
        Say(why, "WAYLAND_DISPLAY is not set");
        return false;
    }
    const std::string path =
        name.front() == '/' ? name : Environment("XDG_RUNTIME_DIR") + "/" + name;
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode)) {
        Say(why, "the Wayland socket " + path + " does not exist");
        return false;
    }
    return true;
}

bool IsXcb(std::string_view platform) {
    return platform == "xcb";
}
bool IsWayland(std::string_view platform) {
    return platform.substr(0, 7) == "wayland";
}

}  // namespace

bool ToolkitDisplayAvailable(int argc, char* const* argv, std::string* why) {
#if defined(__APPLE__) || defined(_WIN32)
    (void)argc, (void)argv, (void)why;
    return true;  // the platform's own window system is always there
#else
    const CommandLineChoice asked = ReadCommandLine(argc, argv);
    // The platforms may be a list tried in turn ("wayland;xcb"), each with options after ':'.
    const std::string platforms = asked.platforms.value_or(Environment("QT_QPA_PLATFORM"));
    bool askX = platforms.empty(), askWayland = platforms.empty();
    size_t start = 0;
    while (start <= platforms.size() && !platforms.empty()) {
        size_t end = platforms.find(';', start);
        if (end == std::string::npos) end = platforms.size();
        std::string_view entry(platforms.data() + start, end - start);
        entry = entry.substr(0, entry.find(':'));
        if (IsXcb(entry)) {
            askX = true;
        } else if (IsWayland(entry)) {
            askWayland = true;
        } else if (!entry.empty()) {
            return true;  // offscreen, minimal, vnc …: no display server needed
        }
        start = end + 1;
    }
    std::string xWhy, waylandWhy;
    if (askWayland && WaylandReachable(&waylandWhy)) return true;
    // An empty -display is no choice: the X library then reads DISPLAY itself.
    const bool xFromCommandLine = asked.xDisplay && !asked.xDisplay->empty();
    const std::string xDisplay = xFromCommandLine ? *asked.xDisplay : Environment("DISPLAY");
    if (askX && XServerReachable(xDisplay, xFromCommandLine ? "-display" : "DISPLAY", &xWhy))
        return true;
    if (why) *why = askX ? xWhy : waylandWhy;
    return false;
#endif
}
