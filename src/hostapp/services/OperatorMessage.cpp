#include "OperatorMessage.h"
#include "ErrorLog.h"

#include <new>

using namespace Qt::StringLiterals;

QString OperatorMessage::forFailure(DbFailure failure)
{
    switch (failure) {
    case DbFailure::UniqueDayTaken:
        return u"该员工这一天已有调班记录，不能重复登记。请修改已有的记录，或换一个日期。"_s;
    case DbFailure::Busy:
        return u"数据库正被其他用户占用，请稍后再试。"_s;
    case DbFailure::Damaged:
        return u"数据库文件已损坏，无法读写。请从备份恢复数据库，或与系统管理员联系。"_s;
    case DbFailure::NotADatabase:
        return u"这个文件不是考勤系统的数据库。请检查数据库文件的路径。"_s;
    case DbFailure::DiskFull:
        return u"磁盘已满，数据没有保存。请腾出磁盘空间后再试。"_s;
    case DbFailure::ConnectionLost:
        return u"与数据库的连接已断开。请检查网络后再试。"_s;
    case DbFailure::NoRight:
        // The register's own words for a missing right.
        return u"对不起，您的权限不足，请与系统管理员联系！"_s;
    case DbFailure::OutsideScope:
        return u"这名员工不在您负责的部门里，不能登记或修改他的调班。"_s;
    case DbFailure::NoPrivilege:
        return u"对不起，您的权限不足：数据库服务器拒绝了这项操作，没有改动任何数据。"
               "需要时请系统管理员调整您的权限或部门范围。"_s;
    case DbFailure::PasswordInUri:
        return u"--db 的地址里不能写密码：命令行上的密码谁都看得到。"
               "请把密码放进环境变量 PGPASSWORD，或放进密码文件 ~/.pgpass。"_s;
    case DbFailure::ServerUnreachable:
        return u"连不上数据库服务器：服务器没有应答。可能服务器没有运行、--db 中的端口不对，"
               "或者网络不通。请检查后再试，或与服务器的管理员联系。"_s;
    case DbFailure::UnknownHost:
        return u"找不到数据库服务器：--db 中的主机名不存在。请检查主机名的拼写。"_s;
    case DbFailure::DeskRefused:
        return u"数据库服务器拒绝了这台电脑上的这个角色登录（服务器的 pg_hba.conf "
               u"中没有允许它的规则）。"
               "请与服务器的管理员联系。"_s;
    case DbFailure::NoSuchDatabase:
        return u"数据库服务器上没有 --db 中写的数据库。请检查数据库名，"
               "或请服务器的管理员先建立它（createdb）。"_s;
    case DbFailure::NoSuchRole:
        return u"数据库服务器上没有 --db 中写的角色（用户名）。请检查用户名，"
               "或请数据库的管理员为您建立登录角色。"_s;
    case DbFailure::PasswordNeeded:
        return u"数据库服务器要求输入密码，但没有找到密码。"
               "请把密码放进环境变量 PGPASSWORD，或放进密码文件 ~/.pgpass。"_s;
    case DbFailure::WrongPassword:
        return u"数据库服务器没有接受登录：密码不对，或者这个角色不能用密码登录。"
               "请检查 PGPASSWORD 或 ~/.pgpass 中的密码。"_s;
    case DbFailure::ForeignTables:
        return u"--db 所指的服务器数据库里有别的程序的表，不是考勤系统的数据库。"
               "请换用考勤系统的数据库，或者一个空的数据库。"_s;
    case DbFailure::Cancelled:
        return u"操作已取消，没有改动任何数据。"_s;
    case DbFailure::Statement:
        break;
    }
    return u"数据库未能完成这项操作。详细信息已写入日志文件，请与系统管理员联系。"_s;
}

OperatorMessage OperatorMessage::of(const std::exception_ptr &error)
{
    static const QString internal =
        u"程序发生内部错误。详细信息已写入日志文件，请与系统管理员联系。"_s;
    try {
        std::rethrow_exception(error);
    } catch (const OperatorDbError &e) {
        return {e.message(), {}};
    } catch (const DbError &e) {
        return {forFailure(e.failure()), e.message()};
    } catch (const HostError &e) {
        return {e.message(), e.detail()};
    } catch (const Rt::DatabaseError &e) {
        // The data layer's own refusals: a statement it cannot translate, a
        // field a result lacks.
        return {forFailure(DbFailure::Statement), e.message()};
    } catch (const Rt::Exception &e) {
        return {e.message(), {}};
    } catch (const std::bad_alloc &) {
        return {u"内存不足，请关闭其他程序后再试。"_s, {}};
    } catch (const std::exception &e) {
        return {internal, QString::fromUtf8(e.what())};
    } catch (...) {
        return {internal, u"an exception of unknown type"_s};
    }
}

OperatorMessage OperatorMessage::report(ErrorLog &log, const std::exception_ptr &error)
{
    OperatorMessage message = of(error);
    if (!message.detail.isEmpty())
        log.appendDetail(message.detail);
    return message;
}
