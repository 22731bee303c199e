#include "protools/library/CViewFactory.h"

#include "protools/library/CEffectGroup.h"
#include "protools/library/CPlugInModule.h"

namespace {

// "!Name[('ABCD')]": the name and the ID, first character in the top byte.
bool parse(const std::string& d, std::string& name, std::uint32_t& id)
{
    const std::size_t open = d.find('[');
    if (d.empty() || d[0] != '!' || open == std::string::npos || open < 2) return false;
    // After the name: [ ( ' four characters ' ) ] and nothing more.
    if (d.size() != open + 10 || d.compare(open, 3, "[('") != 0 || d.compare(open + 7, 3, "')]") != 0) return false;
    name = d.substr(1, open - 1);
    id = 0;
    for (std::size_t i = 0; i < 4; ++i) id = id << 8 | std::uint8_t(d[open + 3 + i]);
    return true;
}

}  // namespace

std::unique_ptr<CCustomView> CViewFactory::create(const std::string& description, const PI_ViewRect& bounds)
{
    std::string name;
    std::uint32_t id = 0;
    if (!parse(description, name, id)) return nullptr;
    const CEffectGroup* group = CPlugInModule::instance().group();
    const CCustomView::Creator creator = group ? group->customViewCreator(name) : nullptr;
    if (!creator) return nullptr;
    std::unique_ptr<CCustomView> view(creator());
    if (view) view->place(bounds, id);
    return view;
}
