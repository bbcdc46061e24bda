// A stand-in for the service's command-line tool, driven by its first argument (the configured `cli`):
// a list of actions separated by ';', each "name" or "name:value", values percent-encoded.
//
//   out:TEXT      write TEXT to standard output          err:TEXT    write TEXT to standard error
//   fill:N:C      write N copies of the character C to standard output
//   sleep:MS      sleep MS milliseconds                  exit:N      exit with status N
//   ignoreterm    ignore SIGTERM                         signal:N    end by signal N (no core file)
//   ready         write the process id to the file named by SCRIPTED_TOOL_READY
//   argv          print every argument (including the program) followed by a NUL byte
//   env:NAME      print "NAME=value\n", or "NAME unset\n"
//   stamp         print the CLOCK_MONOTONIC time in nanoseconds and a newline
//   stdin         print the target of /proc/self/fd/0 and a newline
//   body          print facts about the file after "--body-file": its directory's name and mode, its
//                 mode, its path and its bytes in hex, one "key=value" line each
//   log           append the tool's command (the argument after "desktop") and a line feed to the file
//                 named by SCRIPTED_TOOL_LOG
//   only:NAME     run the following actions only when the command is NAME ("only:" again for every command)
// Without further actions the tool exits with status 0.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

void writeAll(int fd, const std::string &text)
{
    const char *data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            std::_Exit(120);
        }
        data += written;
        left -= std::size_t(written);
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            out += char(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string octal(mode_t mode)
{
    char text[16];
    std::snprintf(text, sizeof text, "%o", unsigned(mode & 07777));
    return text;
}

std::string hex(const std::string &bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string readFile(const std::string &path)
{
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return bytes;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, std::size_t(got));
    ::close(fd);
    return bytes;
}

void describeBody(int argc, char **argv)
{
    std::string path;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--body-file") == 0)
            path = argv[i + 1];
    }
    if (path.empty()) {
        writeAll(1, "nobody\n");
        return;
    }
    const std::string directory = path.substr(0, path.rfind('/'));
    struct stat fileStatus = {};
    struct stat directoryStatus = {};
    ::stat(path.c_str(), &fileStatus);
    ::stat(directory.c_str(), &directoryStatus);
    writeAll(1, "dir=" + directory.substr(directory.rfind('/') + 1) + "\n");
    writeAll(1, "dirmode=" + octal(directoryStatus.st_mode) + "\n");
    writeAll(1, "filemode=" + octal(fileStatus.st_mode) + "\n");
    writeAll(1, "path=" + path + "\n");
    writeAll(1, "bytes=" + hex(readFile(path)) + "\n");
}

void run(const std::string &action, const std::string &value, int argc, char **argv)
{
    if (action == "out") {
        writeAll(1, percentDecoded(value));
    } else if (action == "err") {
        writeAll(2, percentDecoded(value));
    } else if (action == "fill") {
        const std::size_t colon = value.find(':');
        std::size_t count = std::strtoull(value.substr(0, colon).c_str(), nullptr, 10);
        const char c = colon == std::string::npos ? 'x' : percentDecoded(value.substr(colon + 1)).at(0);
        const std::string chunk(64 * 1024, c);
        while (count > 0) {
            const std::size_t now = count < chunk.size() ? count : chunk.size();
            writeAll(1, chunk.substr(0, now));
            count -= now;
        }
    } else if (action == "sleep") {
        const long ms = std::strtol(value.c_str(), nullptr, 10);
        timespec delay{ms / 1000, (ms % 1000) * 1000000};
        while (::nanosleep(&delay, &delay) != 0 && errno == EINTR) {
        }
    } else if (action == "exit") {
        std::_Exit(std::atoi(value.c_str()));
    } else if (action == "ignoreterm") {
        std::signal(SIGTERM, SIG_IGN);
    } else if (action == "signal") {
        const int number = std::atoi(value.c_str());
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        std::signal(number, SIG_DFL);
        ::kill(::getpid(), number);
        for (;;)
            ::pause();
    } else if (action == "ready") {
        const char *file = std::getenv("SCRIPTED_TOOL_READY");
        if (!file)
            std::_Exit(121);
        const std::string temporary = std::string(file) + ".part";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        writeAll(fd, std::to_string(::getpid()));
        ::close(fd);
        ::rename(temporary.c_str(), file);
    } else if (action == "argv") {
        for (int i = 0; i < argc; ++i)
            writeAll(1, std::string(argv[i]) + '\0');
    } else if (action == "env") {
        const char *text = std::getenv(value.c_str());
        writeAll(1, text ? value + "=" + text + "\n" : value + " unset\n");
    } else if (action == "stamp") {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        writeAll(1, std::to_string(static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec) + "\n");
    } else if (action == "stdin") {
        char target[4096];
        const ssize_t length = ::readlink("/proc/self/fd/0", target, sizeof target - 1);
        writeAll(1, std::string(target, length > 0 ? std::size_t(length) : 0) + "\n");
    } else if (action == "body") {
        describeBody(argc, argv);
    } else if (action == "log") {
        const char *file = std::getenv("SCRIPTED_TOOL_LOG");
        if (!file)
            std::_Exit(121);
        const int fd = ::open(file, O_WRONLY | O_CREAT | O_APPEND, 0600);
        writeAll(fd, std::string(argc > 3 ? argv[3] : "") + "\n");
        ::close(fd);
    } else {
        writeAll(2, "unknown action " + action + "\n");
        std::_Exit(122);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return 0;
    const std::string script = argv[1];
    std::size_t start = 0;
    bool skipping = false;
    while (start <= script.size()) {
        std::size_t end = script.find(';', start);
        if (end == std::string::npos)
            end = script.size();
        const std::string step = script.substr(start, end - start);
        if (!step.empty()) {
            const std::size_t colon = step.find(':');
            const std::string action = step.substr(0, colon);
            const std::string value = colon == std::string::npos ? std::string() : step.substr(colon + 1);
            if (action == "only")
                skipping = !value.empty() && value != (argc > 3 ? argv[3] : "");
            else if (!skipping)
                run(action, value, argc, argv);
        }
        start = end + 1;
    }
    return 0;
}
