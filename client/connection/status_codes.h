#pragma once
// Status codes shared by the client library and the design host. Positive
// codes have texts (get_error); negative ones are transport errors that
// reach the caller's status word unchanged.

namespace vornel::status {

inline constexpr int kSuccess = 0;

// Transport.
inline constexpr int kQueueFull = -1300;
inline constexpr int kNoFreeBlocks = -1301;
inline constexpr int kMutexTimeout = -1302;
inline constexpr int kNoMessage = -1303;
inline constexpr int kMessageTooLong = -148;
inline constexpr int kNoKeyNoPermission = -138;
inline constexpr int kNoFreeKey = -149;
inline constexpr int kOutOfMemory = -116;
inline constexpr int kKeyHeld = -700;
inline constexpr int kNoTcbName = -150;

// Library and host.
inline constexpr int kNonexistentRequest = 900;
inline constexpr int kFileWrite = 912;
inline constexpr int kHostTerminated = 924;
inline constexpr int kCommunication = 925;
inline constexpr int kIndfpiInitialization = 926;
inline constexpr int kTcbMapping = 929;
inline constexpr int kRadix50Conversion = 930;
inline constexpr int kUnableToOpenDesignFile = 948;
inline constexpr int kCantReadResourceFile = 952;
inline constexpr int kNoDesignFileOpen = 953;
inline constexpr int kCouldNotExecHost = 982;
inline constexpr int kHostTimedOut = 983;
// Close reply of a host that is about to exit.
inline constexpr int kHostExiting = 1021;

}  // namespace vornel::status
