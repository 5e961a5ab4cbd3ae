// snprintf and vsnprintf through the system C library's formatter (msvcrt): mingw's own
// formatter would add some 25 KB to the installer. The system formatter knows the usual
// conversions (%d %u %x %s %c %f, %lld for 64 bits) but not %zu; the results follow C99:
// always terminated, and the length the whole text would have.
#include <cstdarg>
#include <cstddef>
#include <cstdio>

extern "C" int __mingw_vsnprintf(char* buffer, std::size_t size, const char* format, va_list arguments) {
  va_list counted;
  va_copy(counted, arguments);
  const int length = _vscprintf(format, counted);
  va_end(counted);
  if (size == 0) return length;
  // _vsnprintf leaves a full buffer unterminated and reports -1.
  const int written = _vsnprintf(buffer, size, format, arguments);
  buffer[written < 0 || static_cast<std::size_t>(written) >= size ? size - 1 : static_cast<std::size_t>(written)] =
      '\0';
  return length;
}

extern "C" int __mingw_snprintf(char* buffer, std::size_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int length = __mingw_vsnprintf(buffer, size, format, arguments);
  va_end(arguments);
  return length;
}
