// kestro-txbox: the transmitter interface box emulated on a pseudo-terminal.
//
//   kestro-txbox [--bits 8|9] [--channels N] [--firmware 0xVV] [--rate HZ] [--link PATH]
//                [--sweep] [--script FILE]
//
// Prints the device path (then also made available as the symbolic link PATH, if given) on the
// first line of stdout, then streams frames at HZ (50) until "quit" or end of input. Set
// COM_DEVICE in Output/Config.txt (or the radio menu's device field) to that path. Commands,
// from stdin or the script file, one per line:
//   stick CH POS        stick of channel CH (1..9) at POS (-1..1)
//   count CH N          raw count of channel CH
//   bits 8|9            protocol of the frames
//   firmware 0xVV       the version answered (0x10 = 1.0 sends 9 bits, 0x21 = 2.1 sends 8)
//   channels N          channels per frame (0..9)
//   fault header|checksum|reset
//   silence SECONDS     no frames for a while
//   answer on|off       whether questions are answered
//   wait SECONDS        (scripts) pause before the next command
//   quit
// --sweep moves the sticks slowly through their travel on their own.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "CTxBoxEmulator.h"

namespace
{
volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int)
{
    g_stop = 1;
}

double NowSeconds()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
}

struct SState
{
    CTxBoxEmulator box;
    double silentUntil = 0.0;
    double scriptResume = 0.0;
    bool quit = false;
};

// One command line; false when it is not understood (reported on stderr).
bool Execute(SState& state, const std::string& line, double now)
{
    std::istringstream in(line);
    std::string word;
    if (!(in >> word) || word[0] == '#')
        return true;
    CTxBoxEmulator& box = state.box;
    if (word == "stick" || word == "count")
    {
        int channel = 0;
        double value = 0.0;
        if (!(in >> channel >> value) || channel < 1 || channel > 9)
            return false;
        if (word == "stick")
            box.SetStick(channel, static_cast<float>(value));
        else
            box.SetCount(channel, static_cast<int>(value));
    }
    else if (word == "bits")
    {
        int bits = 0;
        if (!(in >> bits) || (bits != 8 && bits != 9))
            return false;
        box.SetBits(bits);
    }
    else if (word == "firmware")
    {
        std::string text;
        if (!(in >> text))
            return false;
        box.SetFirmware(static_cast<uint8_t>(std::strtol(text.c_str(), nullptr, 0)));
    }
    else if (word == "channels")
    {
        int n = 0;
        if (!(in >> n))
            return false;
        box.SetChannelCount(n);
    }
    else if (word == "fault")
    {
        std::string kind;
        in >> kind;
        if (kind == "header")
            box.InjectBadHeader();
        else if (kind == "checksum")
            box.InjectBadChecksum();
        else if (kind == "reset")
            box.InjectReset();
        else
            return false;
    }
    else if (word == "silence" || word == "wait")
    {
        double seconds = 0.0;
        if (!(in >> seconds))
            return false;
        (word == "silence" ? state.silentUntil : state.scriptResume) = now + seconds;
    }
    else if (word == "answer")
    {
        std::string on;
        in >> on;
        box.SetAnswering(on != "off");
    }
    else if (word == "quit")
        state.quit = true;
    else
        return false;
    return true;
}

int Usage()
{
    std::fprintf(stderr, "usage: kestro-txbox [--bits 8|9] [--channels N] [--firmware 0xVV] [--rate HZ] "
                         "[--link PATH] [--sweep] [--script FILE]\n");
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    SState state;
    double rate = 50.0;
    std::string link;
    std::string scriptPath;
    bool sweep = false;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--bits" && hasValue)
            state.box.SetBits(std::atoi(argv[++i]));
        else if (arg == "--channels" && hasValue)
            state.box.SetChannelCount(std::atoi(argv[++i]));
        else if (arg == "--firmware" && hasValue)
            state.box.SetFirmware(static_cast<uint8_t>(std::strtol(argv[++i], nullptr, 0)));
        else if (arg == "--rate" && hasValue)
            rate = std::atof(argv[++i]);
        else if (arg == "--link" && hasValue)
            link = argv[++i];
        else if (arg == "--script" && hasValue)
            scriptPath = argv[++i];
        else if (arg == "--sweep")
            sweep = true;
        else
            return Usage();
    }
    if (rate <= 0.0 || rate > 1000.0)
        return Usage();

    std::vector<std::string> script;
    if (!scriptPath.empty())
    {
        std::ifstream file(scriptPath);
        if (!file)
        {
            std::fprintf(stderr, "kestro-txbox: %s cannot be read\n", scriptPath.c_str());
            return 1;
        }
        for (std::string line; std::getline(file, line);)
            script.push_back(line);
    }

    std::string problem;
    if (!state.box.Open(problem))
    {
        std::fprintf(stderr, "kestro-txbox: %s\n", problem.c_str());
        return 1;
    }
    if (!link.empty())
    {
        ::unlink(link.c_str());
        if (::symlink(state.box.DevicePath().c_str(), link.c_str()) != 0)
            std::fprintf(stderr, "kestro-txbox: cannot link %s: %s\n", link.c_str(), std::strerror(errno));
    }
    std::printf("%s\n", state.box.DevicePath().c_str());
    std::fflush(stdout);

    const double period = 1.0 / rate;
    const double start = NowSeconds();
    double nextFrame = start;
    size_t scriptLine = 0;
    bool stdinOpen = true;
    std::string pending;
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    // The end of stdin does not end the box: it streams until "quit" or a signal.
    while (!state.quit && g_stop == 0)
    {
        double now = NowSeconds();
        while (scriptLine < script.size() && now >= state.scriptResume && !state.quit)
            if (!Execute(state, script[scriptLine++], now))
                std::fprintf(stderr, "kestro-txbox: script line %zu not understood\n", scriptLine);

        if (now >= nextFrame)
        {
            if (sweep)
                for (int channel = 1; channel <= 9; ++channel)
                    state.box.SetStick(channel, static_cast<float>(std::sin((now - start) * (0.5 + 0.1 * channel))));
            if (now >= state.silentUntil)
                state.box.SendFrame();
            nextFrame += period;
            if (nextFrame < now)
                nextFrame = now + period;
        }
        state.box.Service(0);

        const int waitMs = std::max(0, static_cast<int>((nextFrame - NowSeconds()) * 1000.0));
        pollfd in{STDIN_FILENO, POLLIN, 0};
        if (stdinOpen && ::poll(&in, 1, waitMs) > 0)
        {
            char buffer[512];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0)
                stdinOpen = false;
            else
                pending.append(buffer, static_cast<size_t>(n));
            size_t end;
            while ((end = pending.find('\n')) != std::string::npos)
            {
                const std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                if (!Execute(state, line, NowSeconds()))
                    std::fprintf(stderr, "kestro-txbox: \"%s\" not understood\n", line.c_str());
            }
        }
        else if (!stdinOpen && waitMs > 0)
            ::usleep(static_cast<useconds_t>(waitMs) * 1000u);
    }
    if (!link.empty())
        ::unlink(link.c_str());
    return 0;
}
