// The relay mailbox files: one small binary file per direction. Byte 1 holds
// the length of the frame that follows (0 = empty, at most 255); the writer
// stores the frame first and the length last, the reader takes the frame and
// writes 0 into byte 1 to mark it consumed.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vimo::sim {

// Takes the waiting frame and marks the file consumed. Nothing when the file
// is empty, missing or cannot be read.
std::optional<std::vector<uint8_t>> TakeMailbox(const std::string& path);
// True when the file holds no frame (its length byte is 0, or it is missing).
bool MailboxEmpty(const std::string& path);
// Stores a frame (cut to 255 bytes); false when the file cannot be written.
bool PutMailbox(const std::string& path, std::span<const uint8_t> frame);
// Creates the file, or marks it empty.
bool ClearMailbox(const std::string& path);

}  // namespace vimo::sim
