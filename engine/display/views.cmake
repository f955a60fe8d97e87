# Display sources: shapes and view objects.
target_sources(tarnwick PRIVATE
)
