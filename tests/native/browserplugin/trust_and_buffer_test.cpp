// The servers trusted to install and launch components, and the bounded
// buffer answers are collected in.
#include <gtest/gtest.h>

#include <string>

#include "answer_buffer.h"
#include "trusted_servers.h"

namespace {

TEST(TrustedServers, SchemeHostAndPortMustMatchAnEntry) {
  const char* servers = "http://kebo.example.com; https://secure.example.com:8443";
  for (const char* url : {"http://kebo.example.com/dialog.asp", "HTTP://Kebo.Example.COM:80/x?y",
                          "http://user:pw@kebo.example.com/", "https://secure.example.com:8443/a"}) {
    EXPECT_TRUE(kebo::isOnTrustedServer(url, servers)) << url;
  }
  for (const char* url : {"https://kebo.example.com/", "http://kebo.example.com:8080/", "http://evil.example.com/",
                          "http://kebo.example.com.evil.com/", "http://kebo.example.com@evil.com/",
                          "http://evil.com\\@kebo.example.com/", "https://secure.example.com/", "dialog.asp",
                          "/dialog.asp", "//kebo.example.com/x", "", "http://kebo.example.com:x/"}) {
    EXPECT_FALSE(kebo::isOnTrustedServer(url, servers)) << url;
  }
  EXPECT_FALSE(kebo::isOnTrustedServer("http://kebo.example.com/", ""));
  EXPECT_TRUE(kebo::isOnTrustedServer("dialog.asp", "http://kebo.example.com;*"));
}

TEST(TrustedServers, TheHomePageGivesTheServerNandorWrites) {
  auto server = kebo::serverOf("http://Kebo.Example.com/start/index.htm");
  ASSERT_TRUE(server);
  EXPECT_EQ(kebo::serverText(*server), "http://kebo.example.com");
  EXPECT_EQ(kebo::serverText(*kebo::serverOf("https://h:444/")), "https://h:444");
  EXPECT_FALSE(kebo::serverOf("kebo.example.com/start"));
}

TEST(AnswerBuffer, GrowsWithCopyingLinearInTheBytesWrittenAndStopsAtTheCap) {
  const std::string chunk(8192, 'a');
  kebo::AnswerBuffer buffer;
  std::size_t written = 0;
  while (written + chunk.size() <= kebo::kMaxAnswerBytes) {
    ASSERT_TRUE(buffer.append(chunk.data(), chunk.size()));
    written += chunk.size();
  }
  EXPECT_EQ(buffer.text().size(), written);
  EXPECT_EQ(buffer.text().data()[written], '\0');
  // Half again at each growth: the bytes moved stay a small multiple of those written.
  EXPECT_LT(buffer.bytesMoved(), 3 * written);
  EXPECT_FALSE(buffer.append(chunk.data(), 1 + kebo::kMaxAnswerBytes - written));
  EXPECT_TRUE(buffer.abandoned());
  EXPECT_TRUE(buffer.text().empty());
  EXPECT_FALSE(buffer.append("x", 1));
}

}  // namespace
