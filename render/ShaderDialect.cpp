#include "render/ShaderDialect.h"

static const char* const ES_VERSION = "#version 100\n";
static const char* const FRAGMENT_PRECISION =
    "#ifdef GL_FRAGMENT_PRECISION_HIGH\n"
    "precision highp float;\n"
    "#else\n"
    "precision mediump float;\n"
    "#endif\n";

std::string toEssl100(const std::string& source, bool fragment) {
    std::string body = source;
    const size_t start = source.find_first_not_of(" \t\r\n");
    if (start != std::string::npos && source.compare(start, 8, "#version") == 0) {
        const size_t lineEnd = source.find('\n', start);
        body = lineEnd == std::string::npos ? "" : source.substr(lineEnd + 1);
    }
    return ES_VERSION + std::string(fragment ? FRAGMENT_PRECISION : "") + body;
}
