#include "core/platform/pagebuffer.h"

#include <sys/mman.h>

PageBuffer::PageBuffer(qsizetype size) : m_size(size)
{
    void *pages = mmap(nullptr, size_t(size), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages != MAP_FAILED)
        m_data = static_cast<char *>(pages);
}

PageBuffer::~PageBuffer()
{
    if (m_data)
        munmap(m_data, size_t(m_size));
}
