// Native messages over a byte stream: pieces of large messages, and input that cannot be read.
#include "band/host/message_stream.h"

#include <cstring>

#include <gtest/gtest.h>

namespace ph::host {
namespace {

// Bytes written are read back, as through a pipe.
class Loop : public ByteStream {
 public:
  bool ReadExactly(char* data, std::size_t size) override {
    if (bytes.size() - at < size) return false;
    std::memcpy(data, bytes.data() + at, size);
    at += size;
    return true;
  }
  bool WriteAll(const char* data, std::size_t size) override {
    frames.push_back(size);
    bytes.append(data, size);
    return true;
  }
  void Raw(const std::string& text) {
    const auto length = static_cast<std::uint32_t>(text.size());
    WriteAll(reinterpret_cast<const char*>(&length), 4);
    WriteAll(text.data(), text.size());
  }
  std::string bytes;
  std::size_t at = 0;
  std::vector<std::size_t> frames;
};

TEST(MessageStream, ALargeMessageTravelsInPiecesThatNeverCutACharacter) {
  Loop loop;
  MessageStream stream(loop, 1000);
  // Three-byte characters, quotes and backslashes: escaping and cutting both have work to do.
  std::string text;
  for (int i = 0; i < 900; ++i) text += "\xE2\x82\xAC\"\\";
  ASSERT_TRUE(stream.Write({{"type", "answer"}, {"id", 3}, {"value", text}}));
  for (std::size_t i = 1; i < loop.frames.size(); i += 2) EXPECT_LE(loop.frames[i], 1000u);
  EXPECT_GT(loop.frames.size(), 8u);
  Json message;
  std::string error;
  ASSERT_EQ(stream.Read(&message, &error), MessageStream::Status::kMessage) << error;
  EXPECT_EQ(message["value"], text);
  EXPECT_EQ(stream.Read(&message, &error), MessageStream::Status::kEnd);
}

TEST(MessageStream, WhatCannotBeReadIsReportedAndTheStreamGoesOn) {
  Loop loop;
  MessageStream stream(loop);
  loop.Raw("not json");
  loop.Raw("[1, 2]");
  loop.Raw(R"({"type": "piece", "piece": 1, "part": 1, "parts": 2, "data": "{}"})");
  loop.Raw(R"({"type": "gone"})");
  Json message;
  std::string error;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(stream.Read(&message, &error), MessageStream::Status::kBad);
  ASSERT_EQ(stream.Read(&message, &error), MessageStream::Status::kMessage);
  EXPECT_EQ(message["type"], "gone");
  // A length over the limit cannot be skipped: the stream ends there.
  const std::uint32_t huge = kMaxMessageBytes + 1;
  loop.WriteAll(reinterpret_cast<const char*>(&huge), 4);
  EXPECT_EQ(stream.Read(&message, &error), MessageStream::Status::kEnd);
  EXPECT_NE(error.find("over the limit"), std::string::npos);
}

}  // namespace
}  // namespace ph::host
