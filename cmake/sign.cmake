# Signs a built program with a packager's certificate and key (Authenticode,
# through osslsigncode), writing a signed copy; the program itself is left
# as built. Run by the build (TARVO_SIGN_CERT) or by hand:
#   cmake -DIN=build/TarvoSetup.exe -DOUT=signed/TarvoSetup.exe
#         -DCERT=cert.pem -DKEY=key.pem [-DPASSWORD_FILE=pass.txt]
#         [-DTIMESTAMP_URL=http://...] -P cmake/sign.cmake
# CERT may also be a PKCS#12 file (.pfx or .p12) that holds the key; KEY is
# then left out.
foreach(name IN ITEMS IN OUT CERT)
  if(NOT ${name})
    message(FATAL_ERROR "sign.cmake: ${name} is not set")
  endif()
endforeach()
find_program(OSSLSIGNCODE osslsigncode)
if(NOT OSSLSIGNCODE)
  message(FATAL_ERROR "sign.cmake: osslsigncode not found (Debian package osslsigncode)")
endif()

if(CERT MATCHES "\\.(pfx|p12)$")
  set(credentials -pkcs12 ${CERT})
elseif(KEY)
  set(credentials -certs ${CERT} -key ${KEY})
else()
  message(FATAL_ERROR "sign.cmake: KEY is not set, and ${CERT} is no PKCS#12 file")
endif()
if(PASSWORD_FILE)
  list(APPEND credentials -readpass ${PASSWORD_FILE})
endif()
# Without a time stamp the signature is valid only as long as the certificate.
set(stamp)
if(TIMESTAMP_URL)
  set(stamp -t ${TIMESTAMP_URL})
endif()

get_filename_component(folder ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
file(REMOVE ${OUT})
execute_process(
    COMMAND ${OSSLSIGNCODE} sign ${credentials} -h sha256
            -n "Tarvo Chinese Input Engine Installer" ${stamp} -in ${IN} -out ${OUT}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUT})
  message(FATAL_ERROR "sign.cmake: osslsigncode could not sign ${IN}")
endif()
