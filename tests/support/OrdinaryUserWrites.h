#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Root writes through any file mode, so a read-only catalogue stops nobody in a test run as root.
// For its lifetime this takes from the calling thread the capability to override file permissions
// (when it has it), and root then meets the refusals an ordinary user meets. The program's file
// access all happens on that one thread.
class OrdinaryUserWrites
{
public:
    OrdinaryUserWrites() { m_dropped = geteuid() == 0 && setOverride(false); }
    ~OrdinaryUserWrites()
    {
        if (m_dropped)
            setOverride(true);
    }
    OrdinaryUserWrites(const OrdinaryUserWrites&) = delete;
    OrdinaryUserWrites& operator=(const OrdinaryUserWrites&) = delete;

private:
    static bool setOverride(bool on)
    {
        __user_cap_header_struct header {_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2] {};
        if (syscall(SYS_capget, &header, data) != 0)
            return false;
        const unsigned override = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
        data[0].effective = on ? data[0].effective | override : data[0].effective & ~override;
        return syscall(SYS_capset, &header, data) == 0;
    }
    bool m_dropped = false;
};
