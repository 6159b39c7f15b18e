namespace kelvora::cli {}
