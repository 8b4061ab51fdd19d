# What differs between Linux, Windows and the web, for the program: PLATFORM, the folder name
# of the platform's own files in app/ and render/; PLATFORM_FAMILY, desktop or web, the folder
# of what a desktop and a page do differently (how the process ends, desktop GL against
# WebGL); PLATFORM_GL, the GL libraries; PLATFORM_GLUT; PLATFORM_WINDOW, what the window's
# start-up checks need besides; PLATFORM_APP_SOURCES, any more of the program's own files.
if(WIN32)
  set(PLATFORM windows)
  set(PLATFORM_FAMILY desktop)
  # Built by tools/windows_libraries.sh: freeglut static, and glad's loader for GL 2.0.
  find_package(FreeGLUT CONFIG REQUIRED)
  find_library(GLAD_LIBRARY glad REQUIRED)
  set(PLATFORM_GL ${GLAD_LIBRARY} opengl32 glu32)
  set(PLATFORM_GLUT FreeGLUT::freeglut_static)
  set(PLATFORM_WINDOW)
elseif(EMSCRIPTEN)
  set(PLATFORM web)
  set(PLATFORM_FAMILY web)
  # Emscripten's own GL (WebGL 2, else 1) and GLUT, linked by name.
  set(PLATFORM_GL -lGL)
  set(PLATFORM_GLUT -lglut)
  set(PLATFORM_WINDOW)
  # Emscripten's GLUT lacks the entry callback and reports motion late: ours stand in. The
  # page's buttons and its canvas's size reach the program through two exported functions.
  set(PLATFORM_APP_SOURCES app/web/GlutPointer.cpp app/web/PageControls.cpp)
  add_compile_definitions(GL_GLEXT_PROTOTYPES)
else()
  set(PLATFORM linux)
  set(PLATFORM_FAMILY desktop)
  find_package(OpenGL REQUIRED COMPONENTS OpenGL)
  find_package(GLUT REQUIRED)
  find_package(X11 REQUIRED)
  set(PLATFORM_GL OpenGL::GL OpenGL::GLU)
  set(PLATFORM_GLUT GLUT::GLUT)
  set(PLATFORM_WINDOW X11::X11)
  # Linux's GL header declares the functions past 1.1 only when asked.
  add_compile_definitions(GL_GLEXT_PROTOTYPES)
endif()
