#include "host/session.h"

#include "host/errors.h"

namespace vxhost {

std::string model_type_text(int type)
{
    switch (type) {
    case PRO_MDL_PART: return "PRT";
    case PRO_MDL_ASSEMBLY: return "ASM";
    case PRO_MDL_DRAWING: return "DRW";
    default: return "";
    }
}

ProMdl Session::open(const std::string& name, int type, const std::u16string& folder)
{
    if (name.empty() || name.size() >= PRO_NAME_SIZE)
        throw HostError("model name must have 1 to " + std::to_string(PRO_NAME_SIZE - 1) +
                        " characters: " + name);
    Model* model = nullptr;
    for (const auto& m : models_)
        if (m->name == name && m->type == type)
            model = m.get();
    if (!model) {
        models_.push_back(std::make_unique<Model>(Model{name, type, folder, int(models_.size()) + 1}));
        model = models_.back().get();
    }
    model->folder = folder;
    windows_.push_back(Window{next_window_++, model});
    return handle_of(*model);
}

void Session::close_all_windows() { windows_.clear(); }

const Model* Session::current() const
{
    return windows_.empty() ? nullptr : windows_.back().model;
}

const Model* Session::find(ProMdl handle) const
{
    for (const auto& m : models_)
        if (handle_of(*m) == handle)
            return m.get();
    return nullptr;
}

ProMdl Session::handle_of(const Model& model)
{
    return reinterpret_cast<ProMdl>(const_cast<Model*>(&model));
}

}  // namespace vxhost
