#pragma once
// The exception classes of the code base. what() is the message shown to the user.

#include <stdexcept>
#include <string>
#include <system_error>

namespace corvane {

// Base of every error the picture code raises on purpose.
class EPlatformError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A picture file or picture object that cannot be read, written or converted.
class EInvalidGraphic : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

// An operation that a picture object refuses (changing a JPEG's size, a bad scan line).
class EInvalidGraphicOperation : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

// Copying between two kinds of object that cannot be copied into each other.
class EConvertError : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

// Silent cancellation: callers catch it and stop without reporting anything.
class EAbort : public EPlatformError {
 public:
  EAbort() : EPlatformError("Operation aborted") {}
};

// An index outside a list.
class EListError : public EPlatformError {
 public:
  explicit EListError(long index) : EPlatformError("List index out of bounds (" + std::to_string(index) + ")") {}
};

// A request for more memory than a picture may take.
class EOutOfMemory : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

// A thread operation that cannot be done, such as waiting for a thread that frees itself.
class EThread : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

class EStreamError : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

class EReadError : public EStreamError {
 public:
  EReadError() : EStreamError("Stream read error") {}
};

class EWriteError : public EStreamError {
 public:
  EWriteError() : EStreamError("Stream write error") {}
};

// "message: reason", or the message alone when the system's reason is not known.
inline std::string WithReason(const std::string& message, const std::string& reason) {
  return reason.empty() ? message : message + ": " + reason;
}

class EFOpenError : public EStreamError {
 public:
  explicit EFOpenError(const std::string& fileName, const std::string& reason = {})
      : EStreamError(WithReason("Cannot open file " + fileName, reason)) {}
};

class EFCreateError : public EStreamError {
 public:
  explicit EFCreateError(const std::string& fileName, const std::string& reason = {})
      : EStreamError(WithReason("Cannot create file " + fileName, reason)) {}
};

// The system's words for an error number, such as "Permission denied".
inline std::string SystemReason(int errorNumber) { return std::generic_category().message(errorNumber); }

}  // namespace corvane
