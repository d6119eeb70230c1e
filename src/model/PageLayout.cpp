#include "PageLayout.h"

namespace braille {

PageLayout& pageLayout()
{
    static PageLayout layout;
    return layout;
}

} // namespace braille
