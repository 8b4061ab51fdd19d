# What differs between Linux and Windows, for the program: PLATFORM, the folder name of the
# platform's own files in app/ and render/; PLATFORM_GL, the GL libraries; PLATFORM_GLUT;
# PLATFORM_WINDOW, what the window's start-up checks need besides.
if(WIN32)
  set(PLATFORM windows)
  # Built by tools/windows_libraries.sh: freeglut static, and glad's loader for GL 2.0.
  find_package(FreeGLUT CONFIG REQUIRED)
  find_library(GLAD_LIBRARY glad REQUIRED)
  set(PLATFORM_GL ${GLAD_LIBRARY} opengl32 glu32)
  set(PLATFORM_GLUT FreeGLUT::freeglut_static)
  set(PLATFORM_WINDOW)
else()
  set(PLATFORM linux)
  find_package(OpenGL REQUIRED COMPONENTS OpenGL)
  find_package(GLUT REQUIRED)
  find_package(X11 REQUIRED)
  set(PLATFORM_GL OpenGL::GL OpenGL::GLU)
  set(PLATFORM_GLUT GLUT::GLUT)
  set(PLATFORM_WINDOW X11::X11)
  # Linux's GL header declares the functions past 1.1 only when asked.
  add_compile_definitions(GL_GLEXT_PROTOTYPES)
endif()
