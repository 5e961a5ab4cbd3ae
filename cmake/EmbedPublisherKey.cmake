# Writes the definition of PublisherKey (src/trust/PublisherKey.h) for one installer program:
#   cmake -DKEY=<public key PEM, or empty for none> -DOUTPUT=<file.cpp> -P EmbedPublisherKey.cmake
# The PEM is read by openssl; only an EC P-256 public key is accepted, so a wrong file stops
# the build instead of making an installer that refuses every package.

# DER of a P-256 SubjectPublicKeyInfo up to the uncompressed point's 04 byte; X and Y follow.
set(p256_prefix "3059301306072a8648ce3d020106082a8648ce3d03010703420004")
if(KEY)
  execute_process(COMMAND openssl ec -pubin -in "${KEY}" -outform DER -out "${OUTPUT}.der"
                  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE error)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${KEY} is not an EC public key in PEM (openssl ec -pubout writes one): ${error}")
  endif()
  file(READ "${OUTPUT}.der" der HEX)
  file(REMOVE "${OUTPUT}.der")
  string(LENGTH "${der}" length)
  if(NOT length EQUAL 182 OR NOT der MATCHES "^${p256_prefix}")
    message(FATAL_ERROR "${KEY} is not a P-256 (prime256v1) public key")
  endif()
  string(SUBSTRING "${der}" 54 64 x)
  string(SUBSTRING "${der}" 118 64 y)
  string(REGEX REPLACE "(..)" "0x\\1," x "${x}")
  string(REGEX REPLACE "(..)" "0x\\1," y "${y}")
  set(value "true, {${x}}, {${y}}")
else()
  set(value "false, {}, {}")
endif()
file(WRITE "${OUTPUT}.new" "#include \"trust/PublisherKey.h\"\n\nextern const PublisherKeyPoint PublisherKey = {${value}};\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
