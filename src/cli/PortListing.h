#pragma once

namespace pwm20 {

class SerialService;

// `pwm20 --ports`: which device com1 and com2 stand for and why, then the serial ports the
// system lists, each with what the system says of it; on standard output.
void printPorts(const SerialService &comm);

} // namespace pwm20
