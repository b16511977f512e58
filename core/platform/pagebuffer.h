#pragma once
// A scratch buffer of pages of its own, given back to the system as soon as it
// goes. The C library keeps a freed large block in its heap once blocks of that
// size are asked for again and again, and every page ever written in it stays
// resident: the general log's copy buffer, filled with up to a megabyte of the
// log at every entry, would leave the station growing with its log.
#include <QtGlobal>

class PageBuffer
{
public:
    explicit PageBuffer(qsizetype size);
    ~PageBuffer();
    PageBuffer(const PageBuffer &) = delete;
    PageBuffer &operator=(const PageBuffer &) = delete;

    // nullptr when the system had no pages to give.
    char *data() const { return m_data; }
    qsizetype size() const { return m_data ? m_size : 0; }

private:
    char *m_data = nullptr;
    qsizetype m_size = 0;
};
