# Display sources: colours and the display manager.
target_sources(tarnwick PRIVATE
)
