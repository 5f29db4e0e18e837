#include "geometry/MeshManager.h"

#include "geometry/LwoMeshImporter.h"
#include "geometry/Mesh.h"
#include "geometry/MeshFile.h"
#include "platform/Paths.h"
#include "script/ProblemSink.h"

#include <cstdio>

MeshManager* MeshManager::instance = nullptr;

namespace {

// The text after the last '.', or "" without one.
std::string extensionOf(const std::string& name)
{
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

template <class Handler>
const Handler* handlerFor(const std::vector<Handler>& handlers, const std::string& name)
{
    const std::string extension = extensionOf(name);
    for (const Handler& handler : handlers)
        if (handler.extension == extension)
            return &handler;
    return nullptr;
}

} // namespace

MeshManager::MeshManager()
{
    instance = this;
}

MeshManager::~MeshManager()
{
    releaseAll();
    if (instance == this)
        instance = nullptr;
}

void MeshManager::registerDefaultHandlers()
{
    addImporter("lwo", lwoimport::importLwo);
    addImporter("msh", meshfile::read);
    addExporter("msh", meshfile::write);
}

void MeshManager::addImporter(std::string extension, ImportFunction load)
{
    importers.push_back({std::move(extension), std::move(load)});
}

void MeshManager::addExporter(std::string extension, ExportFunction save)
{
    exporters.push_back({std::move(extension), std::move(save)});
}

void MeshManager::addSearchPath(const std::string& path)
{
    paths.push_back(path);
}

std::string MeshManager::locate(const std::string& name) const
{
    for (const std::string& dir : paths) {
        if (std::FILE* file = platform::openFile(dir + name, "rb")) {
            std::fclose(file);
            return dir;
        }
    }
    return {};
}

Mesh* MeshManager::find(const std::string& name) const
{
    for (const auto& mesh : meshList)
        if (mesh->alias == name || mesh->name == name)
            return mesh.get();
    return nullptr;
}

Mesh* MeshManager::load(const std::string& name, int kind)
{
    const std::string dir = locate(name);
    const Importer* importer = handlerFor(importers, name);
    if (!importer)
        return nullptr;
    // Held already (a caller that skipped find): the held mesh, not an unowned second copy.
    for (const auto& held : meshList)
        if (held->name == name)
            return held.get();
    (void)kind;  // the plain Mesh is the only class
    auto mesh = std::make_unique<Mesh>();
    if (!importer->load(dir + name, *mesh)) {
        problems::reportHere(dir.empty() ? "mesh file " + problems::quoted(name) + " is on no search path"
                                         : "mesh file " + problems::quoted(dir + name) + " could not be read");
        return nullptr;
    }
    mesh->name = name;
    meshList.push_back(std::move(mesh));
    return meshList.back().get();
}

bool MeshManager::add(Mesh* mesh)
{
    if (!mesh)
        return false;
    for (const auto& held : meshList)
        if (held->name == mesh->name)
            return false;
    meshList.emplace_back(mesh);
    return true;
}

bool MeshManager::save(const std::string& path, const Mesh& mesh) const
{
    const Exporter* exporter = handlerFor(exporters, path);
    return exporter && exporter->save(path, mesh);
}

void MeshManager::releaseAll()
{
    meshList.clear();
    importers.clear();
    exporters.clear();
    paths.clear();
}
