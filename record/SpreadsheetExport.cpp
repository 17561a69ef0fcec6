#include "record/SpreadsheetExport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>
#include <zlib.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "display/DateTimeText.h"

namespace {

constexpr int kProgressRows = 2000;

// The date-time texts of the samples, in UTF-8; a repeated time is formed once.
class TimeTexts {
 public:
  explicit TimeTexts(const QLocale& locale) : formatter_(locale) {}
  const QByteArray& Text(double days) {
    if (days != lastDays_ || !valid_) {
      lastDays_ = days;
      valid_ = true;
      text_ = formatter_.Text(days).toUtf8();
    }
    return text_;
  }

 private:
  DaysTextFormatter formatter_;
  double lastDays_ = 0;
  bool valid_ = false;
  QByteArray text_;
};

// The shortest text that reads back as the same float, with '.' whatever the locale.
int FloatText(float value, char* out, size_t size) {
  const auto [end, error] = std::to_chars(out, out + size, value);
  return error == std::errc() ? static_cast<int>(end - out) : 0;
}

// A temporary file beside `target`, created empty and closed.
QString TemporaryBeside(const QString& target, QString& error) {
  const QFileInfo info(target);
  QTemporaryFile file(info.absoluteDir().filePath("." + info.fileName() + ".XXXXXX"));
  file.setAutoRemove(false);
  if (!file.open()) {
    error = QString("Cannot create a file in \"%1\": %2")
                .arg(QDir::toNativeSeparators(info.absolutePath()), file.errorString());
    return {};
  }
  // A temporary file is private to its owner; the export gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(file.handle(), 0666 & ~mask);
  return file.fileName();
}

// CSV: a field holding a comma, a quote or a line break is quoted.
void AppendCsvField(QByteArray& line, const QByteArray& field) {
  if (field.contains(',') || field.contains('"') || field.contains('\n') || field.contains('\r')) {
    QByteArray quoted = field;
    quoted.replace("\"", "\"\"");
    line += '"' + quoted + '"';
  } else {
    line += field;
  }
}

QString WriteCsv(const QString& path, const ExportInput& input, const QLocale& locale,
                 const ExportProgress& progress, bool& cancelled) {
  FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
  if (!file) return QString::fromLocal8Bit(std::strerror(errno));
  std::vector<char> buffer(1 << 20);
  std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());
  bool ok = true;
  QByteArray header = "Time";
  for (int c = 0; c < kRecordChannels; ++c) {
    header += ',';
    AppendCsvField(header, (QString("CH%1:").arg(c + 1) + input.Names[c]).toUtf8());
  }
  header += "\r\n";
  ok = std::fwrite(header.constData(), 1, static_cast<size_t>(header.size()), file) ==
       static_cast<size_t>(header.size());
  TimeTexts times(locale);
  QByteArray line;
  line.reserve(256);
  char number[32];
  for (int i = 0; i < input.Count && ok; ++i) {
    line.truncate(0);  // keeps its room
    AppendCsvField(line, times.Text(input.Buffers->Times[i]));
    for (int c = 0; c < kRecordChannels; ++c) {
      line += ',';
      const float v = input.Buffers->Values[c][i];
      if (std::isfinite(v)) line.append(number, FloatText(v, number, sizeof number));
    }
    line += "\r\n";
    ok = std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), file) ==
         static_cast<size_t>(line.size());
    if (progress && (i + 1) % kProgressRows == 0 && !progress(i + 1, input.Count)) {
      cancelled = true;
      break;
    }
  }
  const int writeError = ok ? 0 : errno;
  if (std::fflush(file) != 0 && ok) ok = false;
  if (ok && fsync(fileno(file)) != 0) ok = false;
  const int error = writeError ? writeError : errno;
  if (std::fclose(file) != 0 && ok) ok = false;
  if (!ok) return QString::fromLocal8Bit(std::strerror(error ? error : EIO));
  return {};
}

QString XlsxError(lxw_error error) {
  return QString::fromLatin1(lxw_strerror(error));
}

// libxlsxwriter reports success even when a full disk cut one of its files short; so the
// finished workbook must be a whole zip archive (its end record present, the central
// directory ending right before it) whose worksheet inflates to a whole sheet that holds
// the last row.
constexpr const char* kUnwhole = "the workbook was not written whole";

uint32_t U32(const QByteArray& bytes, qsizetype offset) {
  uint32_t v;
  std::memcpy(&v, bytes.constData() + offset, 4);
  return v;
}
uint16_t U16(const QByteArray& bytes, qsizetype offset) {
  uint16_t v;
  std::memcpy(&v, bytes.constData() + offset, 2);
  return v;
}

// The end of the inflated entry at `localOffset`: its last `keep` bytes, or an error.
QString InflatedTail(QFile& file, qint64 localOffset, qint64 compressedSize, int method,
                     QByteArray& tail) {
  constexpr int kKeep = 4096;
  if (!file.seek(localOffset)) return file.errorString();
  const QByteArray local = file.read(30);
  if (local.size() != 30 || U32(local, 0) != 0x04034b50) return kUnwhole;
  if (!file.seek(localOffset + 30 + U16(local, 26) + U16(local, 28))) return file.errorString();
  if (method == 0) {  // stored
    if (!file.seek(file.pos() + std::max<qint64>(0, compressedSize - kKeep))) return kUnwhole;
    tail = file.read(std::min<qint64>(compressedSize, kKeep));
    return {};
  }
  if (method != 8) return kUnwhole;
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return "no memory to check the workbook";
  std::vector<unsigned char> in(64 * 1024), out(64 * 1024);
  qint64 left = compressedSize;
  int status = Z_OK;
  while (status != Z_STREAM_END && left > 0) {
    const qint64 n = file.read(reinterpret_cast<char*>(in.data()),
                               std::min<qint64>(left, static_cast<qint64>(in.size())));
    if (n <= 0) break;
    left -= n;
    z.next_in = in.data();
    z.avail_in = static_cast<uInt>(n);
    while (z.avail_in > 0 && status != Z_STREAM_END) {
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      status = inflate(&z, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END) break;
      tail.append(reinterpret_cast<const char*>(out.data()),
                  static_cast<qsizetype>(out.size() - z.avail_out));
      if (tail.size() > kKeep) tail.remove(0, tail.size() - kKeep);
    }
    if (status != Z_OK && status != Z_STREAM_END) break;
  }
  inflateEnd(&z);
  return status == Z_STREAM_END ? QString() : QString(kUnwhole);
}

QString CheckWorkbook(const QString& path, int rows) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  const qint64 size = file.size();
  constexpr qint64 kEndSize = 22;
  if (size < kEndSize) return kUnwhole;
  const qint64 tailSize = std::min<qint64>(size, kEndSize + 65535);
  if (!file.seek(size - tailSize)) return file.errorString();
  const QByteArray end = file.read(tailSize);
  const qsizetype at = end.lastIndexOf(QByteArray("PK\x05\x06", 4));
  if (at < 0 || end.size() - at < kEndSize) return kUnwhole;
  const qint64 directorySize = U32(end, at + 12);
  const qint64 directoryOffset = U32(end, at + 16);
  if (directoryOffset + directorySize != size - tailSize + at) return kUnwhole;
  if (!file.seek(directoryOffset)) return file.errorString();
  const QByteArray directory = file.read(directorySize);
  if (directory.size() != directorySize) return kUnwhole;
  // Find the worksheet's entry in the central directory.
  const QByteArray sheetName = "xl/worksheets/sheet1.xml";
  for (qsizetype p = 0; p + 46 <= directory.size();) {
    if (U32(directory, p) != 0x02014b50) return kUnwhole;
    const int nameLength = U16(directory, p + 28);
    const qsizetype next = p + 46 + nameLength + U16(directory, p + 30) + U16(directory, p + 32);
    if (directory.mid(p + 46, nameLength) == sheetName) {
      QByteArray tail;
      const QString problem = InflatedTail(file, U32(directory, p + 42), U32(directory, p + 20),
                                           U16(directory, p + 10), tail);
      if (!problem.isEmpty()) return problem;
      const QByteArray lastRow = "<row r=\"" + QByteArray::number(rows) + "\"";
      if (!tail.trimmed().endsWith("</worksheet>") || !tail.contains(lastRow)) return kUnwhole;
      return {};
    }
    p = next;
  }
  return kUnwhole;
}

QString WriteXlsx(const QString& path, const ExportInput& input, const QLocale& locale,
                  const ExportProgress& progress, bool& cancelled) {
  const QByteArray name = QFile::encodeName(path);
  // Constant memory: rows go to a temporary file of the library beside the target.
  const QByteArray tmpdir = QFile::encodeName(QFileInfo(path).absolutePath());
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = const_cast<char*>(tmpdir.constData());
  lxw_workbook* workbook = workbook_new_opt(name.constData(), &options);
  if (!workbook) return "the workbook could not be created";
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
  if (!sheet) {
    workbook_close(workbook);
    return "the worksheet could not be created";
  }
  lxw_error error = worksheet_write_string(sheet, 0, 0, "Time", nullptr);
  for (int c = 0; c < kRecordChannels && error == LXW_NO_ERROR; ++c) {
    const QByteArray header = (QString("CH%1:").arg(c + 1) + input.Names[c]).toUtf8();
    error = worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c + 1), header.constData(),
                                   nullptr);
  }
  TimeTexts times(locale);
  char number[32];
  for (int i = 0; i < input.Count && error == LXW_NO_ERROR; ++i) {
    const auto row = static_cast<lxw_row_t>(i + 1);
    error = worksheet_write_string(sheet, row, 0, times.Text(input.Buffers->Times[i]).constData(),
                                   nullptr);
    for (int c = 0; c < kRecordChannels && error == LXW_NO_ERROR; ++c) {
      const float v = input.Buffers->Values[c][i];
      if (!std::isfinite(v)) continue;
      // The number a reader sees is the float's shortest decimal, not its binary expansion
      // (0.1, not 0.100000001490116).
      double shown = v;
      const int n = FloatText(v, number, sizeof number);
      std::from_chars(number, number + n, shown);
      error = worksheet_write_number(sheet, row, static_cast<lxw_col_t>(c + 1), shown, nullptr);
    }
    if (progress && (i + 1) % kProgressRows == 0 && !progress(i + 1, input.Count)) {
      cancelled = true;
      break;
    }
  }
  const lxw_error closed = workbook_close(workbook);
  if (cancelled) return {};
  if (error != LXW_NO_ERROR) return XlsxError(error);
  if (closed != LXW_NO_ERROR) return XlsxError(closed);
  return CheckWorkbook(path, input.Count + 1);
}

}  // namespace

ExportFormat ExportFormatOf(const QString& path) {
  return path.endsWith(".csv", Qt::CaseInsensitive) ? ExportFormat::Csv : ExportFormat::Xlsx;
}

ExportResult WriteExport(const QString& target, ExportFormat format, const ExportInput& input,
                         const QLocale& locale, const ExportProgress& progress) {
  ExportResult result;
  ExportInput sound = input;
  // Never beyond the buffers, whatever the count says.
  sound.Count = input.Buffers ? std::clamp(input.Count, 0, kRecordCapacity) : 0;
  QString error;
  result.TemporaryPath = TemporaryBeside(target, error);
  if (result.TemporaryPath.isEmpty()) {
    result.Error = error;
    return result;
  }
  error = format == ExportFormat::Csv
              ? WriteCsv(result.TemporaryPath, sound, locale, progress, result.Cancelled)
              : WriteXlsx(result.TemporaryPath, sound, locale, progress, result.Cancelled);
  if (result.Cancelled || !error.isEmpty()) {
    QFile::remove(result.TemporaryPath);
    result.TemporaryPath.clear();
    result.Error = error;
    return result;
  }
  result.Ok = true;
  return result;
}

QString CommitExport(const ExportResult& result, const QString& target) {
  if (!result.Ok) return result.Error;
  const QByteArray from = QFile::encodeName(result.TemporaryPath);
  const QByteArray to = QFile::encodeName(target);
  if (std::rename(from.constData(), to.constData()) != 0) {
    const QString why = QString::fromLocal8Bit(std::strerror(errno));
    QFile::remove(result.TemporaryPath);
    return why;
  }
  return {};
}

void DiscardExport(const ExportResult& result) {
  if (!result.TemporaryPath.isEmpty()) QFile::remove(result.TemporaryPath);
}
