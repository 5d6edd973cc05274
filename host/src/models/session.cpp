#include "host/session.h"

#include "host/errors.h"
#include "host/model_files.h"
#include "host/text.h"

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

std::string model_label(const Model& model)
{
    const std::string extension = model_extension(model.type);
    if (extension.empty())
        return model.name + " (type " + std::to_string(model.type) + ")";
    return model.name + "." + extension;
}

ProMdl Session::open(const Model& model)
{
    Model& added = add(model);
    const int id = create_window(added);
    window(id)->shown = true;
    activate(id);
    return handle_of(added);
}

ProMdl Session::open(const std::string& name, int type, const std::u16string& folder)
{
    Model model;
    model.name = name;
    model.type = type;
    model.folder = folder;
    model.document.type = type;
    return open(model);
}

void Session::close_all_windows()
{
    windows_.clear();
    active_ = 0;
}

Model& Session::add(const Model& model)
{
    const std::size_t units = to_utf16(model.name).size();
    if (units == 0 || units >= PRO_NAME_SIZE)
        throw HostError("model name must have 1 to " + std::to_string(PRO_NAME_SIZE - 1) +
                        " characters: " + model.name);
    Model* found = find(model.name, model.type);
    if (!found) {
        models_.push_back(std::make_unique<Model>(model));
        found = models_.back().get();
        found->number = static_cast<int>(models_.size());
        by_handle_[handle_of(*found)] = found;
        by_name_[{fold_case(to_utf16(found->name)), found->type}] = found;
        return *found;
    }
    found->folder = model.folder;
    found->version = model.version;
    found->document = model.document;
    return *found;
}

Model* Session::find(const std::string& name, int type)
{
    const auto it = by_name_.find({fold_case(to_utf16(name)), type});
    return it == by_name_.end() ? nullptr : it->second;
}

void Session::rename(Model& model, const std::string& name)
{
    by_name_.erase({fold_case(to_utf16(model.name)), model.type});
    model.name = name;
    by_name_[{fold_case(to_utf16(model.name)), model.type}] = &model;
}

int Session::create_window(Model& model)
{
    windows_.push_back(Window{next_window_++, &model, false});
    return windows_.back().id;
}

Window* Session::window_of(const Model& model)
{
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (it->model == &model)
            return &*it;
    return nullptr;
}

Window* Session::window(int id)
{
    for (Window& w : windows_)
        if (w.id == id)
            return &w;
    return nullptr;
}

bool Session::activate(int id)
{
    if (!window(id))
        return false;
    active_ = id;
    return true;
}

bool Session::empty_window(int id)
{
    Window* w = window(id);
    if (!w)
        return false;
    w->model = nullptr;
    w->shown = false;
    return true;
}

const Model* Session::current() const
{
    for (const Window& w : windows_)
        if (w.id == active_)
            return w.model;
    return nullptr;
}

Model* Session::current()
{
    return const_cast<Model*>(static_cast<const Session*>(this)->current());
}

const Model* Session::find(ProMdl handle) const
{
    const auto it = by_handle_.find(handle);
    return it == by_handle_.end() ? nullptr : it->second;
}

Model* Session::find(ProMdl handle)
{
    return const_cast<Model*>(static_cast<const Session*>(this)->find(handle));
}

ProMdl Session::handle_of(const Model& model)
{
    return reinterpret_cast<ProMdl>(const_cast<Model*>(&model));
}

}  // namespace vxhost
