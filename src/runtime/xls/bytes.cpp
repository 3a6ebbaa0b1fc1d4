#include "bytes_p.h"

#include "runtime/exceptions.h"

using namespace Qt::StringLiterals;

namespace Rt::Xls {

void refuse(const QString &reason)
{
    throw Exception(u"文件不是有效的Excel工作簿："_s + reason);
}

void ByteReader::overrun() const
{
    refuse(u"%1 的数据不完整（超出了结构的末尾）。"_s.arg(m_what));
}

} // namespace Rt::Xls
