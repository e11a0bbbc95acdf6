#pragma once
// The exception classes of the code base. what() is the message shown to the user.

#include <stdexcept>
#include <string>

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

class EFOpenError : public EStreamError {
 public:
  explicit EFOpenError(const std::string& fileName)
      : EStreamError("Cannot open file " + fileName) {}
};

class EFCreateError : public EStreamError {
 public:
  explicit EFCreateError(const std::string& fileName)
      : EStreamError("Cannot create file " + fileName) {}
};

}  // namespace corvane
