#pragma once
// One serial port on POSIX termios, set up for the transmitter's interface box: 19200 baud, 8
// data bits, no parity, 1 stop bit, raw bytes, RTS on, DTR off, no hardware or software flow
// control. Any character device works, a pseudo-terminal included.
//
// Nothing here ever waits: the device is opened non-blocking (a port without carrier would
// otherwise hang the frame in open), reads return at once with what has arrived, a write that
// does not fit the driver's buffer is dropped. A device that goes away under the reader (a USB
// adapter unplugged, the far side of a pseudo-terminal closed) is noticed by the read, which
// then closes the port and says so; the owner decides when to try again.

#include <cstddef>
#include <cstdint>
#include <string>

class CSerialPort
{
public:
    static constexpr int kBaud = 19200;

    CSerialPort() = default;
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Closes any open device first. False with the reason in Problem() when the device cannot
    // be opened or configured; the port then stays closed.
    bool Open(const std::string& devicePath);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }
    // Why the last Open failed or why the device was lost; empty while all is well.
    const std::string& Problem() const { return m_problem; }

    // Up to size bytes that have arrived, 0 when none (or closed), -1 when the device was lost
    // (the port is closed by then).
    int Read(uint8_t* buffer, size_t size);
    // All bytes or none (closed port, full driver buffer, lost device: false).
    bool Write(const uint8_t* data, size_t size);
    // Bytes waiting in the driver's input buffer (0 when closed).
    int BytesAvailable() const;

private:
    void Lose(const std::string& reason);

    int m_fd = -1;
    std::string m_path;
    std::string m_problem;
};
