#include "platform/ErrorTrap.h"

#include <new>

QString DescribeCurrentException()
{
    try {
        throw;
    } catch (const AppError& e) {
        return e.description();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unexpected error");
    }
}
