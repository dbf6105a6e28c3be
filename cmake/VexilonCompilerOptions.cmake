# Compiler options shared by every target of the tree. Included after third-party code
# (googletest) has been added, so that its warnings are not ours to fix.

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wundef -Wvla)
  if(VEXILON_WERROR)
    add_compile_options(-Werror)
  endif()
endif()

if(WIN32)
  # Keep windows.h small and free of min/max macros; target Windows 7 and later.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

if(MINGW)
  # No libgcc, libstdc++ or winpthread DLL has to be shipped or found.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(VEXILON_SANITIZE)
  add_compile_options(-fsanitize=${VEXILON_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${VEXILON_SANITIZE})
endif()
