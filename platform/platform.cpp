// Window-system stand-ins are added here as the subsystems that need them arrive.
namespace kvt {}
