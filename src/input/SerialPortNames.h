#pragma once
// Port numbers (the COM_PORT of Config.txt, 1 = the first) mapped to serial devices on a system
// without numbered COM ports. The candidates are listed in this order, each group in numeric
// order: USB serial adapters (/dev/ttyUSB*), USB modem-class adapters (/dev/ttyACM*), then the
// built-in ports (/dev/ttyS*). Port n is the n-th device of that list, so with one adapter
// plugged in it is port 1 and the first built-in port is port 2; with none, port 1 is ttyS0.
// The list is made again whenever a port is (re)opened, so an adapter plugged in later is found.
//
// A device path (COM_DEVICE) names any device directly and wins over the number.

#include <string>
#include <vector>

// The candidate devices found in devDir, in port order.
std::vector<std::string> ListSerialDevices(const std::string& devDir = "/dev");

// The device of port n (1-based) among devices, or "" when there is no such port.
std::string SerialDeviceForPort(int port, const std::vector<std::string>& devices);
