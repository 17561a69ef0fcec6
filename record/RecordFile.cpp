#include "record/RecordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/AtomicFile.h"
#include "platform/Errors.h"

static_assert(std::endian::native == std::endian::little, "the record file is little-endian");

void CreateRecordFile(const QString& path, const RecordBlockData& block) {
  WriteFileAtomically(
      path, QByteArray(reinterpret_cast<const char*>(&block), static_cast<int>(sizeof block)));
}

void FillRecordBlock(RecordBlockData& block, const SampleBuffers& buffers, int r, int count) {
  const int first = std::clamp(r, 0, kMaxRecords - 1) * kSamplesPerRecord;
  for (int c = 0; c < kRecordChannels; ++c) {
    std::memcpy(block.Values[c], buffers.Values[c] + first, sizeof block.Values[c]);
  }
  std::memcpy(block.Times, buffers.Times + first, sizeof block.Times);
  block.Count = count;
}

namespace {

// Writes all of `size` bytes at `offset`; false on any failure (errno tells why).
bool WriteAt(int fd, const void* data, size_t size, off_t offset) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = pwrite(fd, bytes, size, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    bytes += n;
    size -= static_cast<size_t>(n);
    offset += n;
  }
  return true;
}

}  // namespace

QString SaveRecording(const char* path, RecordBlockData& block, const SampleBuffers& buffers,
                      int count) {
  count = std::clamp(count, 0, kRecordCapacity);
  // The block being filled; a full recording ends on a boundary and its last block is the
  // completed one.
  const int k = std::min(count / kSamplesPerRecord, kMaxRecords - 1);
  const int fd = open(path, O_RDWR);
  if (fd < 0) return QString::fromLocal8Bit(std::strerror(errno));
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    const int error = errno;
    close(fd);
    return QString::fromLocal8Bit(std::strerror(error));
  }
  const int R = static_cast<int>(info.st_size / kRecordBlockSize);
  // Normally only record k; after a boundary also record k − 1 (R == k), and any record
  // missing before that.
  const int first = R >= k + 1 ? k : std::max(0, R - 1);
  bool ok = true;
  for (int r = first; r <= k && ok; ++r) {
    FillRecordBlock(block, buffers, r, count);
    ok = WriteAt(fd, &block, sizeof block, static_cast<off_t>(r) * kRecordBlockSize);
  }
  if (ok) ok = fdatasync(fd) == 0;
  const int error = errno;
  if (close(fd) != 0 && ok) return QString::fromLocal8Bit(std::strerror(errno));
  // The scratch block ends holding the block being filled, as after a save.
  FillRecordBlock(block, buffers, k, count);
  return ok ? QString() : QString::fromLocal8Bit(std::strerror(error));
}

OpenedRecording ReadRecordFile(const QString& path, SampleBuffers& buffers,
                               RecordBlockData& scratch) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw AppError(QString("Cannot open file \"%1\". %2").arg(path, file.errorString()));
  }
  OpenedRecording opened;
  const qint64 size = file.size();
  const qint64 whole = size / kRecordBlockSize;
  opened.TrailingBytes = size % kRecordBlockSize != 0;
  opened.TooManyRecords = whole > kMaxRecords;
  const int records = static_cast<int>(std::min<qint64>(whole, kMaxRecords));
  for (int r = 0; r < records; ++r) {
    const qint64 n = file.read(reinterpret_cast<char*>(&scratch), kRecordBlockSize);
    if (n != kRecordBlockSize) {
      throw AppError(QString("Read error in file \"%1\". %2").arg(path, file.errorString()));
    }
    const int first = r * kSamplesPerRecord;
    for (int c = 0; c < kRecordChannels; ++c) {
      std::memcpy(buffers.Values[c] + first, scratch.Values[c], sizeof scratch.Values[c]);
    }
    std::memcpy(buffers.Times + first, scratch.Times, sizeof scratch.Times);
    opened.Records = r + 1;
    opened.StoredCount = scratch.Count;
    std::memcpy(opened.Parameters, scratch.Parameters, sizeof opened.Parameters);
  }
  opened.Count = std::clamp(opened.StoredCount, 0, opened.Records * kSamplesPerRecord);
  return opened;
}
