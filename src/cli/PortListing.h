#pragma once

namespace pwm20 {

class SerialService;

// `pwm20 --ports`: which device com1 and com2 stand for and why, then the serial ports the
// system lists, each with what the system says of it, every device by its path; on standard
// output, and a warning on standard error when com1 and com2 are one device. The exit status.
int printPorts(const SerialService &comm);

} // namespace pwm20
