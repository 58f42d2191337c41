#include <gtest/gtest.h>

#include "type_string.h"

namespace testvm {
namespace {

TEST(TypeString, SignaturesWithTuplesAndNames) {
  auto s = parseSignature("fun [File] [S [I I] I]");
  ASSERT_TRUE(s);
  ASSERT_EQ(s->params.size(), 1u);
  EXPECT_EQ(s->params[0].name, "File");
  ASSERT_EQ(s->result.kind, Type::Kind::Tuple);
  ASSERT_EQ(s->result.elements.size(), 3u);
  EXPECT_EQ(s->result.elements[1].kind, Type::Kind::Tuple);
  EXPECT_EQ(typeText(s->result), "[S [I I] I]");

  auto none = parseSignature("fun [] I");
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->params.empty());

  auto callback = parseSignature("fun [fun [I] F ObjBitmap] I");
  ASSERT_TRUE(callback);
  ASSERT_EQ(callback->params.size(), 2u);
  EXPECT_EQ(typeText(callback->params[0]), "fun [I] F");
}

TEST(TypeString, SpacingDoesNotMatter) {
  auto s = parseSignature("  fun[F  F]  [I  I]  ");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->params.size(), 2u);
  EXPECT_EQ(typeText(s->result), "[I I]");
}

TEST(TypeString, RejectsMalformedText) {
  for (const char* bad : {"", "fun", "fun [I I", "fun [I] ", "fun [I] I I", "[I I", "I ]", "fun I I"}) {
    EXPECT_FALSE(parseSignature(bad)) << bad;
  }
  EXPECT_FALSE(parseSignature("I"));  // a type, but no function
  EXPECT_TRUE(parseType("I"));
  EXPECT_FALSE(parseType(std::string(200, '[') + "I" + std::string(200, ']')));
}

}  // namespace
}  // namespace testvm
