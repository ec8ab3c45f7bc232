// The exception families of the platform. Every error the system raises derives
// from Exception, which carries a message (narrow text in the system code page) and
// the class name that alert logs print.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>
#include <vector>

namespace ox {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  // The message text, as the user would read it.
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }
  // The class name, as written to alert logs ("Exception is %s").
  virtual const char* ClassName() const noexcept { return "Exception"; }

 private:
  std::string message_;
};

// A text that is no number or date, or a number or date out of range.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EConvertError"; }
};

// Failures of Variant operations.
class EVariantError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EVariantError"; }
};

// A Variant that cannot be converted to the wanted type.
class EVariantTypeCastError : public EVariantError {
 public:
  using EVariantError::EVariantError;
  const char* ClassName() const noexcept override { return "EVariantTypeCastError"; }
};

// A number that does not fit the wanted type.
class EVariantOverflowError : public EVariantError {
 public:
  using EVariantError::EVariantError;
  const char* ClassName() const noexcept override { return "EVariantOverflowError"; }
};

// An array index outside its bounds, or bounds that make no array.
class EVariantBadIndexError : public EVariantError {
 public:
  using EVariantError::EVariantError;
  const char* ClassName() const noexcept override { return "EVariantBadIndexError"; }
};

// Indexing a Variant that holds no array.
class EVariantNotAnArrayError : public EVariantError {
 public:
  using EVariantError::EVariantError;
  const char* ClassName() const noexcept override { return "EVariantNotAnArrayError"; }
};

// Automation failures: unknown methods or properties, bad arguments.
class EOleError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EOleError"; }
};

// Automation failures that carry a result code (for example an unknown class string).
class EOleSysError : public EOleError {
 public:
  EOleSysError(std::string message, std::int32_t errorCode)
      : EOleError(std::move(message)), errorCode_(errorCode) {}
  std::int32_t ErrorCode() const noexcept { return errorCode_; }
  const char* ClassName() const noexcept override { return "EOleSysError"; }

 private:
  std::int32_t errorCode_;
};

// An operating-system call that failed, with its Windows error code.
class EWin32Error : public Exception {
 public:
  EWin32Error(std::string message, std::uint32_t errorCode)
      : Exception(std::move(message)), errorCode_(errorCode) {}
  std::uint32_t ErrorCode() const noexcept { return errorCode_; }
  const char* ClassName() const noexcept override { return "EWin32Error"; }

 private:
  std::uint32_t errorCode_;
};

// A file input or output that failed, with its I/O result code.
class EInOutError : public Exception {
 public:
  EInOutError(std::string message, int errorCode)
      : Exception(std::move(message)), errorCode_(errorCode) {}
  int ErrorCode() const noexcept { return errorCode_; }
  const char* ClassName() const noexcept override { return "EInOutError"; }

 private:
  int errorCode_;
};

// A file that cannot be opened for reading, or created for writing.
class EStreamError : public Exception {
 public:
  using Exception::Exception;
  const char* ClassName() const noexcept override { return "EStreamError"; }
};

class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
  const char* ClassName() const noexcept override { return "EFOpenError"; }
};

class EFCreateError : public EStreamError {
 public:
  using EStreamError::EStreamError;
  const char* ClassName() const noexcept override { return "EFCreateError"; }
};

// A database-engine failure: a list of (error code, message) entries.
class EDBEngineError : public Exception {
 public:
  struct Entry {
    int errorCode;
    std::string message;
  };
  EDBEngineError(std::string message, std::vector<Entry> errors)
      : Exception(std::move(message)), errors_(std::move(errors)) {}
  const std::vector<Entry>& Errors() const noexcept { return errors_; }
  const char* ClassName() const noexcept override { return "EDBEngineError"; }

 private:
  std::vector<Entry> errors_;
};

}  // namespace ox
