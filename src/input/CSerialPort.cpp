#include "input/CSerialPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "core/Diagnostics.h"

namespace
{
std::string ErrnoText(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

// Raw 8N1 at 19200 baud, no flow control, reads that return at once.
bool Configure(int fd, std::string& outProblem)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
    {
        outProblem = ErrnoText("not a serial device");
        return false;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, B19200);
    ::cfsetospeed(&settings, B19200);
    if (::tcsetattr(fd, TCSANOW, &settings) != 0)
    {
        outProblem = ErrnoText("cannot be set to 19200 8N1");
        return false;
    }
    // The box takes its supply from RTS and must not see DTR. A pseudo-terminal has no modem
    // lines: that is no error.
    int lines = 0;
    if (::ioctl(fd, TIOCMGET, &lines) == 0)
    {
        lines |= TIOCM_RTS;
        lines &= ~TIOCM_DTR;
        ::ioctl(fd, TIOCMSET, &lines);
    }
    ::tcflush(fd, TCIOFLUSH);
    return true;
}
} // namespace

CSerialPort::~CSerialPort()
{
    Close();
}

bool CSerialPort::Open(const std::string& devicePath)
{
    Close();
    m_path = devicePath;
    m_problem.clear();
    if (devicePath.empty())
    {
        m_problem = "no device";
        return false;
    }
    const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
    {
        m_problem = ErrnoText("cannot be opened");
        return false;
    }
    // Not shared: a second program reading the same port would steal half the frames.
    if (::ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY && errno != EINVAL)
    {
        m_problem = ErrnoText("cannot be reserved");
        ::close(fd);
        return false;
    }
    if (!Configure(fd, m_problem))
    {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void CSerialPort::Close()
{
    if (m_fd >= 0)
    {
        // The reservation outlives the descriptor while another holds the device open (the far
        // side of a pseudo-terminal): without this our own reopen would be refused.
        ::ioctl(m_fd, TIOCNXCL);
        ::close(m_fd);
    }
    m_fd = -1;
}

void CSerialPort::Lose(const std::string& reason)
{
    m_problem = reason;
    DiagPrint("Serial port %s lost: %s\n", m_path.c_str(), reason.c_str());
    Close();
}

int CSerialPort::Read(uint8_t* buffer, size_t size)
{
    if (m_fd < 0 || size == 0)
        return 0;
    // A hung-up terminal reads as "no bytes" forever: only poll tells it from silence.
    pollfd check{m_fd, POLLIN, 0};
    if (::poll(&check, 1, 0) < 0)
        return errno == EINTR ? 0 : (Lose(ErrnoText("poll failed")), -1);
    if ((check.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0 && (check.revents & POLLIN) == 0)
    {
        Lose("the device went away");
        return -1;
    }
    if ((check.revents & POLLIN) == 0)
        return 0;
    const ssize_t n = ::read(m_fd, buffer, size);
    if (n > 0)
        return static_cast<int>(n);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return 0;
    Lose(n == 0 ? std::string("the device went away") : ErrnoText("read failed"));
    return -1;
}

bool CSerialPort::Write(const uint8_t* data, size_t size)
{
    if (m_fd < 0)
        return false;
    const ssize_t n = ::write(m_fd, data, size);
    if (n == static_cast<ssize_t>(size))
        return true;
    if (n < 0 && errno != EAGAIN && errno != EINTR)
        Lose(ErrnoText("write failed"));
    return false;
}

int CSerialPort::BytesAvailable() const
{
    int count = 0;
    if (m_fd < 0 || ::ioctl(m_fd, FIONREAD, &count) != 0)
        return 0;
    return count;
}
