// The OBJ reader's code, from the header of Debian's tinyobjloader.
#define TINYOBJLOADER_IMPLEMENTATION
#include <tiny_obj_loader.h>
