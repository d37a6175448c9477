// Reading and writing native messages, and joining and splitting pieces.
#include "band/host/message_stream.h"

#include <cstdint>
#include <cstring>

namespace ph::host {
namespace {

// What a piece's wrapper adds at most besides its data.
constexpr std::size_t kPieceOverhead = 160;

}  // namespace

std::size_t Utf8PrefixLength(std::string_view text, std::size_t size) {
  if (size >= text.size()) return text.size();
  // Back off continuation bytes (10xxxxxx): the cut then falls before a sequence's first byte.
  while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) --size;
  return size;
}

MessageStream::Status MessageStream::Read(Json* message, std::string* error) {
  std::uint32_t length = 0;
  if (!bytes_.ReadExactly(reinterpret_cast<char*>(&length), sizeof length)) return Status::kEnd;
  if (length > kMaxMessageBytes) {
    *error = "a message of " + std::to_string(length) + " bytes is over the limit of " +
             std::to_string(kMaxMessageBytes);
    return Status::kEnd;
  }
  std::string text(length, '\0');
  if (!bytes_.ReadExactly(text.data(), length)) return Status::kEnd;
  Json parsed = Json::parse(text, nullptr, false);
  if (parsed.is_discarded() || !parsed.is_object()) {
    *error = "a message that is not a JSON object";
    return Status::kBad;
  }
  const auto type = parsed.find("type");
  if (type != parsed.end() && *type == "piece") return Join(parsed, message, error);
  if (joining_ != 0) {
    joining_ = 0;
    joined_.clear();
    *error = "a message came between the pieces of another";
    return Status::kBad;
  }
  *message = std::move(parsed);
  return Status::kMessage;
}

MessageStream::Status MessageStream::Join(const Json& piece, Json* message, std::string* error) {
  const auto field = [&](const char* name) -> long {
    const auto it = piece.find(name);
    return it != piece.end() && it->is_number_integer() ? it->get<long>() : -1;
  };
  const long id = field("piece"), part = field("part"), parts = field("parts");
  const auto data = piece.find("data");
  const bool first = part == 0;
  const bool in_order = first ? joining_ == 0 : (id == joining_ && part == joined_parts_);
  if (id <= 0 || parts <= 0 || part < 0 || part >= parts || data == piece.end() || !data->is_string() || !in_order ||
      joined_.size() + data->get_ref<const std::string&>().size() > kMaxMessageBytes) {
    joining_ = 0;
    joined_.clear();
    *error = "a piece out of order or malformed";
    return Status::kBad;
  }
  if (first) {
    joining_ = id;
    joined_parts_ = 0;
  }
  joined_ += data->get_ref<const std::string&>();
  if (++joined_parts_ < parts) return Read(message, error);
  joining_ = 0;
  Json whole = Json::parse(joined_, nullptr, false);
  joined_.clear();
  if (whole.is_discarded() || !whole.is_object()) {
    *error = "pieces that do not join into a JSON object";
    return Status::kBad;
  }
  *message = std::move(whole);
  return Status::kMessage;
}

bool MessageStream::WriteFrame(std::string_view text) {
  const auto length = static_cast<std::uint32_t>(text.size());
  char header[sizeof length];
  std::memcpy(header, &length, sizeof length);
  return bytes_.WriteAll(header, sizeof header) && bytes_.WriteAll(text.data(), text.size());
}

bool MessageStream::Write(const Json& message) {
  // Text that is not UTF-8 (a page's broken characters) is written with replacement characters.
  const std::string text = message.dump(-1, ' ', false, Json::error_handler_t::replace);
  if (text.size() <= piece_bytes_) return WriteFrame(text);
  // Quotes and backslashes in a slice are escaped once more inside the piece: half the room.
  const std::size_t room = piece_bytes_ > 2 * kPieceOverhead ? (piece_bytes_ - kPieceOverhead) / 2 : 1;
  std::vector<std::string_view> slices;
  for (std::string_view rest = text; !rest.empty();) {
    std::size_t size = Utf8PrefixLength(rest, room);
    if (size == 0) size = std::min(rest.size(), std::size_t{4});
    slices.push_back(rest.substr(0, size));
    rest.remove_prefix(size);
  }
  const long id = next_piece_++;
  for (std::size_t i = 0; i < slices.size(); ++i) {
    const Json piece = {{"type", "piece"}, {"piece", id}, {"part", i}, {"parts", slices.size()},
                        {"data", std::string(slices[i])}};
    if (!WriteFrame(piece.dump(-1, ' ', false, Json::error_handler_t::replace))) return false;
  }
  return true;
}

}  // namespace ph::host
