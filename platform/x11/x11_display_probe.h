// Whether the X display the program is pointed at can be reached, asked before the toolkit starts:
// Qt's own attempt ends the process with an abort and advice to reinstall. No X header here: Qt
// code includes this one.
#pragma once

#include <string>

namespace plumwick::x11 {

// True when a connection to the X display `name` opens; it is closed again at once. False for a
// display no server answers on, a host that cannot be reached and a server that refuses the
// connection.
bool CanConnectToDisplay(const std::string& name);

}  // namespace plumwick::x11
