#pragma once

#include <QByteArray>
#include <QByteArrayList>

class QIODevice;

// The compound file container ([MS-CFB]) around the workbook stream: a small FAT
// file system of 512-byte sectors with a directory of named streams.
namespace Rt::Xls {

// Writes a version 3 compound file that holds the stream "Workbook", given as
// the parts that make it up one after the other. Streams
// under the 4,096-byte cutoff are padded to it, so that every stream lives in
// regular sectors and no mini stream is needed. Returns false when the device
// refused a write.
bool writeCompoundFile(QIODevice &device, const QByteArrayList &workbook);

// The "Workbook" stream of a compound file (version 3 or 4, from regular sectors
// or the mini stream). Every sector chain is checked for range and cycles and
// nothing larger than the file is allocated; damage raises Rt::Exception.
QByteArray readWorkbookStream(const QByteArray &file);

} // namespace Rt::Xls
