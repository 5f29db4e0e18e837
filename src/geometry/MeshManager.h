// The one owner of every mesh: finds meshes by name, loads them through the importer that
// matches the file extension from the search paths, and saves them through exporters.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Mesh;

class MeshManager {
public:
    // Loads a file (a show path) into an empty mesh; false when it fails.
    using ImportFunction = std::function<bool(const std::string& path, Mesh& mesh)>;
    using ExportFunction = std::function<bool(const std::string& path, const Mesh& mesh)>;

    struct Importer {
        std::string extension;
        ImportFunction load;
    };
    struct Exporter {
        std::string extension;
        ExportFunction save;
    };

    // The program-wide manager: set by the constructor, cleared by the destructor.
    static MeshManager* instance;

    MeshManager();
    ~MeshManager();
    MeshManager(const MeshManager&) = delete;
    MeshManager& operator=(const MeshManager&) = delete;

    // The importers "lwo" then "msh", and the exporter "msh".
    void registerDefaultHandlers();
    void addImporter(std::string extension, ImportFunction load);
    void addExporter(std::string extension, ExportFunction save);
    // Appends a directory prefix such as "data\obj\" (concatenated with names as it stands).
    void addSearchPath(const std::string& path);

    // The first search path under which `name` opens for reading; "" when none does.
    std::string locate(const std::string& name) const;
    // The first mesh, in load order, whose alias or else name equals `name` exactly; none if
    // there is no such mesh.
    Mesh* find(const std::string& name) const;
    // Loads `name` through the importer of its extension (the text after the last '.', exactly)
    // from the first search path that has it. The manager owns the result; none when no importer
    // matches or the importer fails. `kind` selects the class of mesh; the plain Mesh is 0 and
    // the only one there is. A name already held returns the held mesh.
    Mesh* load(const std::string& name, int kind = 0);
    // Takes ownership of `mesh` and appends it. False (the caller keeps it) for null or a name
    // already held.
    bool add(Mesh* mesh);
    // Writes `mesh` through the exporter of `path`'s extension; false when none matches or the
    // exporter fails.
    bool save(const std::string& path, const Mesh& mesh) const;
    // Destroys every mesh, importer and exporter and forgets the search paths.
    void releaseAll();

    const std::vector<std::unique_ptr<Mesh>>& meshes() const { return meshList; }
    const std::vector<std::string>& searchPaths() const { return paths; }

private:
    std::vector<std::unique_ptr<Mesh>> meshList;
    std::vector<Importer> importers;
    std::vector<Exporter> exporters;
    std::vector<std::string> paths;
};
