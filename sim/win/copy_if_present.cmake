# Copies SOURCE to DESTINATION when SOURCE exists (cmake -P, at build time).
if(EXISTS "${SOURCE}")
  file(COPY_FILE "${SOURCE}" "${DESTINATION}" ONLY_IF_DIFFERENT)
endif()
