/* Stands in for oldnames.lib of Visual C++, which the compiler names as a
   default library of every object: there it maps the POSIX names (open,
   close, ...) to the CRT's underscored functions. The project's code calls
   the underscored names itself, so this library is empty. */
typedef int zkdb_oldnames_is_empty;
