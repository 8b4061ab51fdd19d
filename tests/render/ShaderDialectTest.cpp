#include "render/ShaderDialect.h"

#include <gtest/gtest.h>

TEST(ShaderDialect, VersionLineBecomesEsAndOnlyFragmentsGainAPrecision) {
    const std::string body = "attribute vec3 p;\nvoid main() { gl_Position = vec4(p, 1.0); }\n";
    const std::string vertex = toEssl100("#version 120\n" + body, false);
    EXPECT_EQ(vertex, "#version 100\n" + body);

    const std::string fragment = toEssl100("  #version 120\r\n" + body, true);
    EXPECT_EQ(fragment.rfind("#version 100\n", 0), 0u);
    EXPECT_EQ(fragment.find("#version 120"), std::string::npos);
    const size_t precision = fragment.find("precision highp float;");
    ASSERT_NE(precision, std::string::npos);
    EXPECT_LT(precision, fragment.find(body));
    EXPECT_EQ(fragment.substr(fragment.size() - body.size()), body);
}

TEST(ShaderDialect, SourceWithoutVersionLineKeepsAllOfItsText) {
    const std::string body = "// no version here\nvoid main() {}\n";
    EXPECT_EQ(toEssl100(body, false), "#version 100\n" + body);
    EXPECT_EQ(toEssl100("", false), "#version 100\n");
    EXPECT_EQ(toEssl100("#version 120", true).find("#version 120"), std::string::npos);
}
